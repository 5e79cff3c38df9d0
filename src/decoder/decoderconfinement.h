#pragma once

#include <QtGlobal>

// The walls a decoder helper puts up around itself before it reads the first file: nothing
// inherited but the channel, no life beyond the program's, bounded memory, and a system-call
// filter that leaves only what decoding needs.
class DecoderConfinement
{
public:
    // Closes every descriptor but the standard ones and keep.
    static void closeDescriptorsBut(int keep);
    // Ends this process with the thread that started it; false when that has already gone.
    static bool dieWithParent();
    // Bytes of address space beyond what is mapped now. Sanitized builds take the limit
    // through their allocator's options instead.
    static void limitMemory(qint64 bytes);
    // Files, memory files among them, no larger than bytes, and few descriptors.
    static void limitFiles(qint64 bytes);
    // No privileges gained on exec, then the filter, on every thread; false when the kernel
    // refused it.
    static bool restrictSystemCalls();
};
