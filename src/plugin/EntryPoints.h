// The module's eight exported entry points, as EntryPoints.cpp defines them
// (riZER_2.def exports them by these names).
#pragma once

#include <cstdint>

#include "hostapi/HostInterface.h"

extern "C" {
void CV_CALL cvAbout();
void CV_CALL cvMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
void CV_CALL cvRegisterInterfaceAccess(cv::InterfaceAccessProc proc);
void CV_CALL cvRegisterScriptProcessor(cv::ScriptProcessorProc proc);
void CV_CALL cvRegisterPlugIn(cv::AddActionProc addAction, void* unused1, void* unused2,
                              cv::SetVariableProc setVariable);
void CV_CALL cvInitPlugIn(cv::WindowHandle hostWindow, cv::HostSlot title, cv::HostSlot author,
                          cv::HostSlot description);
cv::BoolResult CV_CALL cvExecAction(std::int32_t action, cv::HostString* params);
cv::BoolResult CV_CALL cvEditAction(std::int32_t action, cv::HostString* params);
}
