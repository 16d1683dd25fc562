// Loads a .cvp module and resolves its eight entry points by name.
#pragma once

#include <windows.h>

#include <string>

#include "plugin/HostInterface.h"

namespace host {

struct PluginExports {
    cv::cvAboutFn About = nullptr;
    cv::cvMessageFn Message = nullptr;
    cv::cvRegisterInterfaceAccessFn RegisterInterfaceAccess = nullptr;
    cv::cvRegisterScriptProcessorFn RegisterScriptProcessor = nullptr;
    cv::cvRegisterPlugInFn RegisterPlugIn = nullptr;
    cv::cvInitPlugInFn InitPlugIn = nullptr;
    cv::cvExecActionFn ExecAction = nullptr;
    cv::cvEditActionFn EditAction = nullptr;
};

class PluginModule {
 public:
    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule() { Unload(); }

    // Loads the module, routes its global-memory calls through the block
    // ledger and resolves every entry point; false with `error` otherwise.
    bool Load(const std::string& path, std::string* error);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }

    const PluginExports& Fn() const { return fn_; }

 private:
    HMODULE module_ = nullptr;
    PluginExports fn_;
};

}  // namespace host
