// The parts of tavock built as shared objects of their own, loaded only by
// a clock that needs them: the Wayland tile (with pixman and libwayland)
// and the label font reader (with FreeType). The X clock never maps them,
// so their libraries cost it no memory.
#pragma once

// The entry named entry of the module file (for instance
// "tavock-wayland.so"): from the program itself when it was linked in (the
// tests link everything), else from the file beside the executable, else
// from the installed library folder. Null, with one line on standard error
// naming the file and dlopen's reason, when neither has it; *handle gets
// the module (null when linked in), for closeModule.
void *moduleEntry(const char *file, const char *entry, void **handle);

// Unloads a module moduleEntry opened (nothing for null).
void closeModule(void *handle);
