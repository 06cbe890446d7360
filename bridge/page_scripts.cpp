// The page scripts every page receives.
#include "bridge/page_scripts.h"

#define NBSP "\u00A0"

const std::string AlertOverrideScript =
    "window.alert" NBSP "=" NBSP "function" NBSP "(AlertMessage)" NBSP "{ wScriptNotify.wAlert(AlertMessage) }";

const std::string ConfirmOverrideScript =
    "var wMessageDialog = false; window.confirm" NBSP "=" NBSP "function" NBSP "wConfirmLooping(ConfirmMessage)" NBSP
    "{ if(wMessageDialog == false){ wScriptNotify.wConfirm(ConfirmMessage); wMessageDialog = true; } "
    "if(wScriptNotify.wConfirmClicked() == true){ return wScriptNotify.wConfirmSelected(); }else{ return "
    "wConfirmLooping(); } }";

#undef NBSP

const std::string LinkHookScript =
    "var Anchors = document.getElementsByTagName(\"a\"); for (var i = 0; i < Anchors.length ; i++) { "
    "Anchors[i].addEventListener(\"contextmenu\", function (event) { "
    "wScriptNotify.wMousePosX(window.event.clientX); wScriptNotify.wMousePosY(window.event.clientY); "
    "wScriptNotify.wContextMenu(this.href); }, false); }";

std::string ImageHookFrom(const std::string& linkHook)
{
    auto replaceOnce = [](std::string text, const std::string& from, const std::string& to) {
        auto at = text.find(from);
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
        return text;
    };
    return replaceOnce(replaceOnce(linkHook, "\"a\"", "\"img\""), "this.href", "this.src + '&GET_IMG'");
}

// Defined after the link hook: initialised in this order.
const std::string ImageHookScript = ImageHookFrom(LinkHookScript);

const std::array<const std::string*, 4>& PageScripts()
{
    static const std::array<const std::string*, 4> scripts = {&AlertOverrideScript, &ConfirmOverrideScript,
                                                               &LinkHookScript, &ImageHookScript};
    return scripts;
}
