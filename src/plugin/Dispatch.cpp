#include "plugin/Dispatch.h"

#include <array>
#include <string>

#include "dialogs/EditFlows.h"
#include "messaging/Executors.h"
#include "hostapi/HostStrings.h"

namespace cv {
namespace {

using Executor = bool (*)(const std::string* params);

struct ActionRow {
    int paramCount;  // slots copied for the executor
    Executor execute;
};

// Indexed by action number - 1.
const std::array<ActionRow, 6> kActions{{
    {2, [](const std::string* p) { return ExecOpenPort(p[0], p[1]); }},
    {0, [](const std::string*) { return ExecClosePort(); }},
    {2, [](const std::string* p) { return ExecSendMessage(p[0], p[1]); }},
    {1, [](const std::string* p) { return ExecGoSub(p[0]); }},
    {2, [](const std::string* p) { return ExecSystemMessage(p[0], p[1]); }},
    {0, [](const std::string*) { return ExecMessageClear(); }},
}};

const ActionRow* FindAction(std::int32_t action) {
    if (action < 1 || action > static_cast<std::int32_t>(kActions.size())) return nullptr;
    return &kActions[static_cast<std::size_t>(action - 1)];
}

// The row of an action that can run on `params`: none for a number outside
// 1..6, nor for an action with parameters given no parameter list.
const ActionRow* UsableAction(std::int32_t action, const HostString* params) {
    const ActionRow* row = FindAction(action);
    if (!row || (row->paramCount > 0 && !params)) return nullptr;
    return row;
}

}  // namespace

bool ExecuteAction(std::int32_t action, const HostString* params) {
    const ActionRow* row = UsableAction(action, params);
    if (!row) return false;
    std::array<std::string, 2> texts;
    for (int i = 0; i < row->paramCount; ++i) texts[static_cast<std::size_t>(i)] = HostText(params[i]);
    return row->execute(texts.data());
}

bool EditActionParams(std::int32_t action, HostString* params) {
    const ActionRow* row = UsableAction(action, params);
    if (!row) return false;
    if (!HasEditDialog(action)) return true;
#if defined(_WIN32)
    return EditAction(action, params);
#else
    (void)params;
    return false;
#endif
}

}  // namespace cv
