// Loads a .cvp module, resolves its eight entry points by name and calls them
// across the boundary (see Boundary.h).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "Boundary.h"

namespace host {

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

    // Calls `entry` with one word per argument (the module must be loaded).
    Word Call(Entry entry, std::initializer_list<Word> args) const;

 private:
    HMODULE module_ = nullptr;
    const void* entries_[kEntryCount] = {};
};

}  // namespace host
