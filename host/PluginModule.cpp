#include "PluginModule.h"

#include "BlockLedger.h"

namespace host {
namespace {

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn* out, std::string* error) {
    FARPROC proc = GetProcAddress(module, name);
    if (!proc) {
        *error = std::string("missing export ") + name;
        return false;
    }
    *out = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    return true;
}

}  // namespace

bool PluginModule::Load(const std::string& path, std::string* error) {
    Unload();
    module_ = LoadLibraryA(path.c_str());
    if (!module_) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    HookModuleAllocator(module_);
    bool ok = Resolve(module_, "cvAbout", &fn_.About, error) &&
              Resolve(module_, "cvMessage", &fn_.Message, error) &&
              Resolve(module_, "cvRegisterInterfaceAccess", &fn_.RegisterInterfaceAccess, error) &&
              Resolve(module_, "cvRegisterScriptProcessor", &fn_.RegisterScriptProcessor, error) &&
              Resolve(module_, "cvRegisterPlugIn", &fn_.RegisterPlugIn, error) &&
              Resolve(module_, "cvInitPlugIn", &fn_.InitPlugIn, error) &&
              Resolve(module_, "cvExecAction", &fn_.ExecAction, error) &&
              Resolve(module_, "cvEditAction", &fn_.EditAction, error);
    if (!ok) Unload();
    return ok;
}

void PluginModule::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    fn_ = PluginExports{};
}

}  // namespace host
