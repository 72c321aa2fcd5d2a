// The resource file reader: one keyword and value per line, `execProg` and
// `at` lines with quoted commands.
#pragma once

#include <cstdio>

void parsercfile(FILE *file);
