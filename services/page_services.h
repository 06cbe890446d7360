#pragma once
// The companion services the menus and the About panel reach: share,
// translate, pin, support mail, donations and the extension panel. The page
// builds them together and binds their handler names.
#include <memory>

#include "platform/platform.h"
#include "platform/ui/markup.h"
#include "services/donations.h"
#include "services/extension_panel.h"
#include "services/pin_page.h"
#include "services/share_page.h"
#include "services/support_mail.h"
#include "services/translate_page.h"

class CompanionCheck;
class RatingPrompt;

struct PageServices {
    PageServices(const PageControls& controls, const ui::LoadedMarkup& markup, platform::PlatformServices& services,
                 TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages);

    // The handler names the markup binds; the components are built after the
    // markup loads, and nothing runs a handler before.
    static void AddHandlers(ui::MarkupHandlers& handlers, const std::unique_ptr<PageServices>& services,
                            const std::unique_ptr<RatingPrompt>& rating,
                            const std::unique_ptr<CompanionCheck>& companion);

    SharePage Share;
    TranslatePage Translate;
    PinPage Pin;
    SupportMail Mail;
    Donations Donate;
    ExtensionPanel Extension;
};
