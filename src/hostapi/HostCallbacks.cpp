#include "hostapi/HostCallbacks.h"

namespace cv::hostapi {

WindowHandle HostWindow = nullptr;
AddActionProc AddAction = nullptr;
SetVariableProc SetVariable = nullptr;
ScriptProcessorProc ScriptProcessor = nullptr;
InterfaceAccessProc InterfaceAccess = nullptr;

void CallSetVariable(const char* name, const char* value) {
    if (SetVariable) SetVariable(name, value);
}

void CallScriptProcessor(const char* line) {
    if (ScriptProcessor) ScriptProcessor(line);
}

void ResetHostCallbacks() {
    HostWindow = nullptr;
    AddAction = nullptr;
    SetVariable = nullptr;
    ScriptProcessor = nullptr;
    InterfaceAccess = nullptr;
}

}  // namespace cv::hostapi
