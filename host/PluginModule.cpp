#include "PluginModule.h"

#include "BlockLedger.h"

namespace host {

bool PluginModule::Load(const std::string& path, std::string* error) {
    Unload();
    module_ = LoadLibraryA(path.c_str());
    if (!module_) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    HookModuleAllocator(module_);
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        FARPROC proc = GetProcAddress(module_, kEntries[i].name);
        if (!proc) {
            *error = std::string("missing export ") + kEntries[i].name;
            Unload();
            return false;
        }
        entries_[i] = reinterpret_cast<const void*>(proc);
    }
    return true;
}

void PluginModule::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    for (const void*& entry : entries_) entry = nullptr;
}

Word PluginModule::Call(Entry entry, std::initializer_list<Word> args) const {
    return CallEntry(entry, entries_[static_cast<std::size_t>(entry)], args);
}

}  // namespace host
