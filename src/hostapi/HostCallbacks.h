// The host's callbacks and window, kept from the set-up calls until unload.
// Plain module state; everything runs on the host's GUI thread.
#pragma once

#include "hostapi/HostInterface.h"

namespace cv::hostapi {

// Stored by the set-up entry points (null until the host gives them).
extern WindowHandle HostWindow;
extern AddActionProc AddAction;
extern SetVariableProc SetVariable;
extern ScriptProcessorProc ScriptProcessor;
extern InterfaceAccessProc InterfaceAccess;

// Calls the callback when the host has given one; an absent callback is never
// called (and the call does nothing).
void CallSetVariable(const char* name, const char* value);
void CallScriptProcessor(const char* line);

// Forgets every callback and the window (unload, and between tests).
void ResetHostCallbacks();

}  // namespace cv::hostapi
