// The entry point of every GoogleTest program of the Windows tree. GoogleTest copies every
// failure and skip message to the debugger with OutputDebugStringA, which raises an exception;
// under Wine on qemu-user a raised exception can kill the process (resuming or unwinding it
// faults), so the first failure would end the run without a report. No debugger ever listens here: the program's import of
// OutputDebugStringA is pointed at a function that does nothing.
#include <cstring>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

void WINAPI ignore_debug_output(LPCSTR) {}

void silence_debug_output() {
    auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(name->Name), "OutputDebugStringA") != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&ignore_debug_output);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    silence_debug_output();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
