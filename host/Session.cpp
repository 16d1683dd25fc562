#include "Session.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "BlockLedger.h"
#include "Log.h"
#include "Signals.h"
#include "text/Decimal.h"

namespace host {
namespace {

Session* g_current = nullptr;

// ---- the four callbacks the host hands to the module ----------------------
// Each takes the words of its arguments (Boundary.h) in the interface's order.

const char* TextArg(Word word) { return reinterpret_cast<const char*>(word); }
std::int32_t IntArg(Word word) { return static_cast<std::int32_t>(word); }
template <typename T>
Word PointerWord(T* pointer) {
    return reinterpret_cast<Word>(pointer);
}
// A boolean answer as a host reads it: the low byte.
bool ByteResult(Word word) { return (word & 0xff) != 0; }

// number, name, hint, kinds, lastKindIndex, paramCount
Word AddActionCallback(const Word* args) {
    CatalogueEntry entry;
    entry.number = IntArg(args[0]);
    entry.name = TextArg(args[1]) ? TextArg(args[1]) : "";
    entry.hint = TextArg(args[2]) ? TextArg(args[2]) : "";
    const auto* kinds = reinterpret_cast<const std::uint8_t*>(args[3]);
    const std::int32_t lastKindIndex = IntArg(args[4]);
    if (kinds && lastKindIndex >= 0) entry.kinds.assign(kinds, kinds + lastKindIndex + 1);
    entry.lastKindIndex = lastKindIndex;
    entry.paramCount = IntArg(args[5]);
    g_current->OnAddAction(entry);
    return 0;
}

// name, value
Word SetVariableCallback(const Word* args) {
    g_current->OnSetVariable(TextArg(args[0]) ? TextArg(args[0]) : "",
                             TextArg(args[1]) ? TextArg(args[1]) : "");
    return 0;
}

// line
Word ScriptProcessorCallback(const Word* args) {
    g_current->OnScriptLine(TextArg(args[0]) ? TextArg(args[0]) : "");
    return 0;
}

// code, slot; answers a one-byte boolean
Word InterfaceAccessCallback(const Word* args) {
    return g_current->OnPicker(IntArg(args[0]), reinterpret_cast<HostSlot>(args[1])) ? 1 : 0;
}

void CALLBACK TimerCallback(HWND, UINT, UINT_PTR id, DWORD) { g_current->OnTimer(id); }

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "CorvaneStandIn";
    RegisterClassA(&wc);
    HWND window = nullptr;
    for (int attempt = 0; attempt < 5 && !window; ++attempt) {  // a display that is still starting
        if (attempt) Sleep(200);
        window = CreateWindowExA(0, wc.lpszClassName, "Corvane stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    }
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    SetForegroundWindow(window);
    return window;
}

std::string SlotText(const HostString block) { return block ? Quote(block) : "<none>"; }

// Parameter slots made by the host for one call, freed afterwards.
struct Slots {
    std::vector<HostString> blocks;
    explicit Slots(const std::vector<std::string>& texts, std::size_t from) {
        for (std::size_t i = from; i < texts.size(); ++i) blocks.push_back(NewHostString(texts[i].c_str()));
        blocks.resize(blocks.size() + 2, nullptr);  // room for an action that reads more slots
    }
    ~Slots() {
        for (HostString block : blocks) {
            if (block) CountedGlobalFree(block);
        }
    }
};

// An action number: an optional sign and digits, within 32 bits (numbers
// outside the catalogue are the module's to refuse).
bool ParseActionNumber(const std::string& text, Word* number) {
    const std::optional<std::int64_t> value = cv::ReadDecimal(text, cv::DecimalSign::Optional, 10);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return false;
    *number = static_cast<Word>(static_cast<std::int32_t>(*value));
    return true;
}

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

const Session::CommandRow Session::kCommands[] = {
    {"Exec", &Session::CmdExec},           {"Edit", &Session::CmdEdit},
    {"Init", &Session::CmdInit},           {"Register", &Session::CmdRegister},
    {"Message", &Session::CmdMessage},     {"About", &Session::CmdAbout},
    {"Sleep", &Session::CmdSleep},         {"Print", &Session::CmdPrint},
    {"Expect", &Session::CmdExpect},       {"WaitVar", &Session::CmdWaitVar},
    {"ExpectBox", &Session::CmdExpectBox}, {"ExpectNoBox", &Session::CmdExpectNoBox},
    {"Picker", &Session::CmdPicker},       {"Dialog", &Session::CmdDialog},
    {"After", &Session::CmdAfter},         {"Call", &Session::CmdCall},
    {"Unload", &Session::CmdUnload},       {"Echo", &Session::CmdEcho},
    {"BoxDelay", &Session::CmdBoxDelay},   {"Log", &Session::CmdLog},
    {"Blocks", &Session::CmdBlocks},       {"ExecNull", &Session::CmdNullList},
    {"EditNull", &Session::CmdNullList},   {"Signal", &Session::CmdSignal},
    {"Await", &Session::CmdAwait},         {"TimerGaps", &Session::CmdTimerGaps},
};

Session::Session() { g_current = this; }

Session::~Session() {
    watcher_.Stop();
    module_.Unload();
    if (hostWindow_) DestroyWindow(hostWindow_);
    g_current = nullptr;
}

Session* Session::Current() { return g_current; }

bool Session::Open(const std::string& modulePath) {
    hostWindow_ = CreateHostWindow();
    if (!hostWindow_) {
        LogLine("host: cannot create the host window (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    watcher_.Start(GetCurrentThreadId(), hostWindow_);
    std::string error;
    if (!module_.Load(modulePath, &error)) {
        LogLine("host: " + error);
        return false;
    }
    InitPlugIn();
    RegisterPlugIn();
    module_.Call(Entry::RegisterScriptProcessor,
                 {PointerWord(CallbackAddress(Callback::ScriptProcessor, ScriptProcessorCallback))});
    module_.Call(Entry::RegisterInterfaceAccess,
                 {PointerWord(CallbackAddress(Callback::InterfaceAccess, InterfaceAccessCallback))});
    return true;
}

void Session::InitPlugIn() {
    HostString slots[3] = {NewHostString("old title"), NewHostString("old author"),
                           NewHostString("old description")};
    const long freesBefore = Ledger().frees;
    module_.Call(Entry::InitPlugIn, {PointerWord(hostWindow_), PointerWord(&slots[0]), PointerWord(&slots[1]),
                                     PointerWord(&slots[2])});
    const long freed = Ledger().frees - freesBefore;
    LogLine("Title " + SlotText(slots[0]));
    LogLine("Author " + SlotText(slots[1]));
    LogLine("Description " + SlotText(slots[2]));
    LogLine("Init freed " + std::to_string(freed) + " old blocks");
    for (HostString block : slots) {
        if (block) CountedGlobalFree(block);  // the host owns them now
    }
}

void Session::RegisterPlugIn() {
    catalogue_.clear();
    module_.Call(Entry::RegisterPlugIn,
                 {PointerWord(CallbackAddress(Callback::AddAction, AddActionCallback)), 0, 0,
                  PointerWord(CallbackAddress(Callback::SetVariable, SetVariableCallback))});
}

bool Session::Run(const Script& script) {
    script_ = &script;
    return RunCommands(script.main);
}

int Session::Finish() {
    watcher_.Stop();
    module_.Unload();
    const LedgerCounts counts = Ledger();
    LogLine("Blocks allocated " + std::to_string(counts.allocs) + ", freed " + std::to_string(counts.frees) +
            ", left " + std::to_string(LiveBlocks()) + ", bad frees " + std::to_string(counts.badFrees));
    LogLine("Expectations: " + std::to_string(passed_) + " passed, " + std::to_string(failed_) + " failed");
    if (LiveBlocks() != 0 || counts.badFrees != 0) {
        LogLine("host: global-memory imbalance");
        return 3;
    }
    return failed_ ? 1 : 0;
}

// ---- callbacks -------------------------------------------------------------

void Session::OnAddAction(const CatalogueEntry& entry) {
    std::string kinds;
    for (unsigned char k : entry.kinds) kinds += (kinds.empty() ? "" : ",") + std::to_string(k);
    LogLine("AddAction " + std::to_string(entry.number) + " " + Quote(entry.name) +
            " hint=" + Quote(entry.hint) + " kinds=" + kinds +
            " last=" + std::to_string(entry.lastKindIndex) + " count=" + std::to_string(entry.paramCount));
    catalogue_.push_back(entry);
}

void Session::OnSetVariable(const std::string& name, const std::string& value) {
    variables_[name] = value;
    if (logVariables_) LogLine("SetVariable " + Quote(name) + " = " + Quote(value));
}

void Session::OnScriptLine(const std::string& line) {
    LogLine("Script " + Quote(line));
    const std::string prefix = "GoSub \"";
    if (line.size() > prefix.size() && line.compare(0, prefix.size(), prefix) == 0 && line.back() == '"') {
        RunSub(line.substr(prefix.size(), line.size() - prefix.size() - 1));
    }
}

bool Session::OnPicker(int code, HostSlot slot) {
    LogLine("Picker code=" + std::to_string(code) + " in=" + SlotText(*slot) + " answer=" + pickerMode_);
    if (pickerMode_ == "false") return false;
    if (pickerMode_ == "replace") {
        CountedGlobalFree(*slot);
        *slot = NewHostString(pickerText_.c_str());
    } else if (pickerMode_ == "empty") {
        CountedGlobalFree(*slot);
        *slot = nullptr;
    }
    return true;  // "same": true with the block as it was
}

void Session::OnTimer(UINT_PTR id) {
    if (id == gapTimer_.Id()) {
        gaps_.Tick(NowMs());
        return;
    }
    KillTimer(nullptr, id);
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    const std::string sub = it->second;
    timers_.erase(it);
    RunSub(sub);
}

// ---- interpreter -----------------------------------------------------------

bool Session::RunCommands(const std::vector<Command>& commands) {
    bool ok = true;
    for (const Command& command : commands) ok = RunCommand(command) && ok;
    return ok;
}

bool Session::RunCommand(const Command& command) {
    for (const CatalogueEntry& entry : catalogue_) {
        if (entry.number > 0 && entry.name == command.word) return DoAction(command, entry.number);
    }
    for (const CommandRow& row : kCommands) {
        if (command.word == row.word) return (this->*row.handler)(command);
    }
    return Fail(command, "unknown command " + command.word);
}

bool Session::RunSub(const std::string& name) {
    auto it = script_ ? script_->subs.find(name) : decltype(script_->subs.end()){};
    if (!script_ || it == script_->subs.end()) {
        LogLine("GoSub unknown " + Quote(name));
        return false;
    }
    if (depth_ > 32) {
        LogLine("GoSub too deep " + Quote(name));
        return false;
    }
    ++depth_;
    bool ok = RunCommands(it->second);
    --depth_;
    return ok;
}

bool Session::Fail(const Command& command, const std::string& why) {
    ++failed_;
    LogLine("FAIL line " + std::to_string(command.line) + ": " + why);
    return false;
}

void Session::Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool Session::DoAction(const Command& c, int number) {
    if (!module_.Loaded()) return Fail(c, "module not loaded");
    Slots slots(c.args, 0);
    const std::vector<HostString> before = slots.blocks;
    const bool result = ByteResult(
        module_.Call(Entry::ExecAction, {static_cast<Word>(number), PointerWord(slots.blocks.data())}));
    if (!result) return Fail(c, c.word + " answered false");
    if (slots.blocks != before) return Fail(c, c.word + " changed its parameter slots");
    return true;
}

namespace {
// "allocated/freed" global-memory blocks since `before`.
std::string BlocksSince(const LedgerCounts& before) {
    const LedgerCounts now = Ledger();
    return std::to_string(now.allocs - before.allocs) + "/" + std::to_string(now.frees - before.frees);
}
}  // namespace

bool Session::CmdExec(const Command& c) {
    Word action = 0;
    if (c.args.empty() || !ParseActionNumber(c.args[0], &action)) return Fail(c, "Exec N [\"param\"...]");
    Slots slots(c.args, 1);
    const std::vector<HostString> before = slots.blocks;
    const LedgerCounts ledger = Ledger();
    const bool result =
        ByteResult(module_.Call(Entry::ExecAction, {action, PointerWord(slots.blocks.data())}));
    LogLine("Exec " + c.args[0] + " -> " + (result ? "true" : "false") +
            " slots=" + (slots.blocks == before ? "same" : "changed") + " blocks=" + BlocksSince(ledger));
    return true;
}

bool Session::CmdEdit(const Command& c) {
    Word action = 0;
    if (c.args.empty() || !ParseActionNumber(c.args[0], &action)) return Fail(c, "Edit N [\"param\"...]");
    Slots slots(c.args, 1);
    const std::vector<HostString> before = slots.blocks;
    const bool result =
        ByteResult(module_.Call(Entry::EditAction, {action, PointerWord(slots.blocks.data())}));
    std::string line = "Edit " + c.args[0] + " -> " + (result ? "true" : "false");
    for (std::size_t i = 0; i < slots.blocks.size(); ++i) {
        if (i + 1 >= c.args.size() && !slots.blocks[i]) continue;  // a spare slot left empty
        line += " " + SlotText(slots.blocks[i]) + (slots.blocks[i] == before[i] ? "" : "[new]");
    }
    LogLine(line);
    return true;
}

// ExecNull N, EditNull N: the call with no parameter list at all (null).
bool Session::CmdNullList(const Command& c) {
    Word action = 0;
    if (c.args.empty() || !ParseActionNumber(c.args[0], &action)) return Fail(c, c.word + " N");
    const LedgerCounts ledger = Ledger();
    const bool result =
        ByteResult(module_.Call(c.word == "ExecNull" ? Entry::ExecAction : Entry::EditAction, {action, 0}));
    LogLine(c.word + " " + c.args[0] + " -> " + (result ? "true" : "false") +
            " blocks=" + BlocksSince(ledger));
    return true;
}

bool Session::CmdInit(const Command&) {
    InitPlugIn();
    return true;
}

bool Session::CmdRegister(const Command&) {
    RegisterPlugIn();
    return true;
}

bool Session::CmdMessage(const Command&) {
    module_.Call(Entry::Message, {WM_USER, 1, 2});
    LogLine("Message sent");
    return true;
}

bool Session::CmdAbout(const Command&) {
    SetActiveWindow(hostWindow_);
    module_.Call(Entry::About, {});
    LogLine("About closed");
    return true;
}

bool Session::CmdSleep(const Command& c) {
    unsigned long ms = 0;
    if (c.args.size() > 1 || (c.args.size() == 1 && !ParseWaitMs(c.args[0], &ms)))
        return Fail(c, "Sleep [ms]");
    Pump(ms);
    return true;
}

bool Session::CmdPrint(const Command& c) {
    for (const std::string& name : c.args) LogLine("Var " + name + " = " + Quote(variables_[name]));
    return true;
}

bool Session::CmdExpect(const Command& c) {
    if (c.args.size() != 2) return Fail(c, "Expect Var \"text\"");
    const std::string& actual = variables_[c.args[0]];
    if (actual != c.args[1])
        return Fail(c, c.args[0] + " is " + Quote(actual) + ", expected " + Quote(c.args[1]));
    ++passed_;
    return true;
}

// Pumps messages until `done` holds (true) or `limitMs` have passed (false).
bool Session::PumpUntil(const std::function<bool()>& done, unsigned long limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= limitMs) return false;
        Pump(10);
    }
    return true;
}

bool Session::CmdWaitVar(const Command& c) {
    unsigned long limit = 0;
    if (c.args.size() != 3 || !ParseWaitMs(c.args[2], &limit)) return Fail(c, "WaitVar Var \"text\" ms");
    if (!PumpUntil([&] { return variables_[c.args[0]] == c.args[1]; }, limit)) {
        return Fail(c,
                    c.args[0] + " is " + Quote(variables_[c.args[0]]) + ", waited for " + Quote(c.args[1]));
    }
    ++passed_;
    return true;
}

bool Session::CmdSignal(const Command& c) {
    if (c.args.size() != 1 || !IsSignalName(c.args[0]))
        return Fail(c, "Signal Name (letters, digits, . - _)");
    if (!RaiseSignal(signalFolder_, c.args[0]))
        return Fail(c, "cannot write " + SignalPath(signalFolder_, c.args[0]));
    LogLine("Signal " + c.args[0]);
    return true;
}

bool Session::CmdAwait(const Command& c) {
    unsigned long limit = 0;
    if (c.args.size() != 2 || !IsSignalName(c.args[0]) || !ParseWaitMs(c.args[1], &limit)) {
        return Fail(c, "Await Name ms");
    }
    if (!PumpUntil([&] { return SignalRaised(signalFolder_, c.args[0]); }, limit)) {
        return Fail(c, "no signal " + c.args[0] + " within " + c.args[1] + " ms");
    }
    ++passed_;
    return true;
}

bool Session::CmdExpectBox(const Command& c) {
    if (c.args.size() < 2) return Fail(c, "ExpectBox \"caption\" \"text\" [icon]");
    BoxRecord box;
    for (int waited = 0; !watcher_.TakeBox(&box); waited += 20) {
        if (waited >= 3000) return Fail(c, "no message box appeared");
        Pump(20);
    }
    if (box.caption != c.args[0] || box.text != c.args[1] || (c.args.size() > 2 && box.icon != c.args[2])) {
        return Fail(c, "box " + Quote(box.caption) + " " + Quote(box.text) + " " + box.icon);
    }
    ++passed_;
    return true;
}

bool Session::CmdExpectNoBox(const Command& c) {
    Pump(100);
    BoxRecord box;
    if (watcher_.TakeBox(&box))
        return Fail(c, "unexpected box " + Quote(box.caption) + " " + Quote(box.text));
    ++passed_;
    return true;
}

bool Session::CmdPicker(const Command& c) {
    if (c.args.empty()) return Fail(c, "Picker false|same|empty|replace \"text\"");
    pickerMode_ = c.args[0];
    pickerText_ = c.args.size() > 1 ? c.args[1] : "";
    return true;
}

bool Session::CmdDialog(const Command& c) {
    std::vector<DialogAction> actions;
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        DialogAction action{c.args[i], "", 0};
        if ((action.verb == "Shot" || action.verb == "Click" || action.verb == "Wait") &&
            i + 1 < c.args.size()) {
            action.arg = c.args[++i];
        }
        unsigned long ms = 0;
        if (action.verb == "Wait") {
            if (!ParseWaitMs(action.arg, &ms)) return Fail(c, "Dialog ... Wait ms");
            action.waitMs = static_cast<DWORD>(ms);
        }
        actions.push_back(action);
    }
    watcher_.QueueDialogActions(std::move(actions));
    return true;
}

bool Session::CmdAfter(const Command& c) {
    unsigned long ms = 0;
    if (c.args.size() != 2 || !ParseWaitMs(c.args[0], &ms)) return Fail(c, "After ms SubName");
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(ms), TimerCallback);
    timers_[id] = c.args[1];
    return true;
}

// TimerGaps MS starts a periodic timer of MS milliseconds and notes the
// gaps between its ticks. TimerGaps end stops it and prints the worst gap
// and the one that 99 in 100 gaps stay within, which becomes the quiet
// baseline. TimerGaps end MORE does the same and fails unless the timer
// ticked and 99 in 100 gaps stayed within MORE ms of the baseline (of the
// period before any): a quiet run first, then one under load, in the same
// process on the same machine, so that a loaded machine moves both.
bool Session::CmdTimerGaps(const Command& c) {
    unsigned long ms = 0;
    const bool end = !c.args.empty() && c.args[0] == "end";
    const bool bounded = end && c.args.size() == 2 && ParseWaitMs(c.args[1], &ms);
    if (end && (c.args.size() == 1 || bounded)) {
        if (!gaps_.Running()) return Fail(c, "TimerGaps end without TimerGaps MS");
        gaps_.Stop(NowMs());
        gapTimer_.Kill();
        if (!bounded) {
            quietGapMs_ = gaps_.PercentileMs(99);
            LogLine("TimerGaps " + gaps_.Summary());
            return true;
        }
        const double base = std::max(quietGapMs_, gaps_.PeriodMs());
        char bound[96];
        std::snprintf(bound, sizeof bound, ", bound %.1f ms (%.1f ms and %lu)", base + ms, base, ms);
        LogLine("TimerGaps " + gaps_.Summary() + bound);
        if (!gaps_.Within(base + ms)) return Fail(c, "timer gaps beyond the bound");
        ++passed_;
        return true;
    }
    if (c.args.size() != 1 || !ParseWaitMs(c.args[0], &ms) || ms < 1 || ms > 60000)
        return Fail(c, "TimerGaps MS (1 to 60000) | TimerGaps end [MORE]");
    if (!gapTimer_.Start(static_cast<UINT>(ms), TimerCallback)) return Fail(c, "SetTimer failed");
    gaps_.Start(static_cast<double>(ms), NowMs());
    return true;
}

bool Session::CmdCall(const Command& c) {
    if (c.args.size() != 1) return Fail(c, "Call SubName");
    return RunSub(c.args[0]) || Fail(c, "Call " + c.args[0] + " failed");
}

bool Session::CmdUnload(const Command&) {
    module_.Unload();
    catalogue_.clear();
    LogLine("Unloaded");
    return true;
}

bool Session::CmdEcho(const Command& c) {
    std::string line;
    for (const std::string& arg : c.args) line += (line.empty() ? "" : " ") + arg;
    LogLine(line);
    return true;
}

bool Session::CmdBoxDelay(const Command& c) {
    unsigned long ms = 0;
    if (c.args.size() > 1 || (c.args.size() == 1 && !ParseWaitMs(c.args[0], &ms)))
        return Fail(c, "BoxDelay [ms]");
    watcher_.SetBoxDelay(static_cast<DWORD>(ms));
    return true;
}

bool Session::CmdLog(const Command& c) {
    logVariables_ = c.args.empty() || c.args[0] != "off";
    return true;
}

bool Session::CmdBlocks(const Command&) {
    LogLine("Blocks live " + std::to_string(LiveBlocks()));
    return true;
}

}  // namespace host
