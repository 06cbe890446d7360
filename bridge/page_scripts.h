#pragma once
// The scripts every completed page receives, in the order they are injected.
// They route the page's alert, confirm and right-clicks on links and images
// into wScriptNotify. The first two carry NO-BREAK SPACEs (U+00A0) around
// "=", after "function" and before the first "{": the pages expect these
// texts exactly.
#include <array>
#include <string>

extern const std::string AlertOverrideScript;
extern const std::string ConfirmOverrideScript;
extern const std::string LinkHookScript;
// The link hook on images: "img" for "a", and the image address marked with
// "&GET_IMG" for the link address.
extern const std::string ImageHookScript;

// The link hook turned into the image hook.
std::string ImageHookFrom(const std::string& linkHook);

// The four, in injection order.
const std::array<const std::string*, 4>& PageScripts();
