#include "services/page_services.h"

#include "services/companion_check.h"
#include "services/rating_prompt.h"

PageServices::PageServices(const PageControls& controls, const ui::LoadedMarkup& markup,
                           platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome,
                           ProductMessages& messages)
    : Share(services, tabs, chrome, messages), Translate(services, tabs, chrome, messages),
      Pin(services, tabs, chrome, messages), Mail(services, chrome, messages),
      Donate(controls, services, tabs, chrome, messages), Extension(markup, services, chrome, messages)
{
}

void PageServices::AddHandlers(ui::MarkupHandlers& h, const std::unique_ptr<PageServices>& services,
                               const std::unique_ptr<RatingPrompt>& rating,
                               const std::unique_ptr<CompanionCheck>& companion)
{
    auto on = [&h](const char* name, auto handler) { h.Routed[name] = handler; };
    auto* s = &services;
    on("ShareButton_Click", [s](ui::Element& e) { (*s)->Share.ShareButton_Click(e); });
    on("TranslateButton_Click", [s](ui::Element& e) { (*s)->Translate.TranslateButton_Click(e); });
    on("PinToStartButton_Click", [s](ui::Element& e) { (*s)->Pin.PinToStartButton_Click(e); });
    on("SupportMail_Click", [s](ui::Element& e) { (*s)->Mail.SupportMail_Click(e); });
    on("Donate_Click", [s](ui::Element& e) { (*s)->Donate.Donate_Click(e); });
    on("ExtensionAction_Click", [s](ui::Element& e) { (*s)->Extension.ExtensionAction_Click(e); });
    on("ReelpullStore_Click", [s](ui::Element& e) { (*s)->Extension.ReelpullStore_Click(e); });
    auto* r = &rating;
    on("RatingPanelRate_Click", [r](ui::Element& e) { (*r)->RatingPanelRate_Click(e); });
    on("RatingPanelClose_Click", [r](ui::Element& e) { (*r)->RatingPanelClose_Click(e); });
    on("RateButton_Click", [r](ui::Element& e) { (*r)->RateButton_Click(e); });
    auto* c = &companion;
    on("ReelpullHandOver_Click", [c](ui::Element& e) { (*c)->ReelpullHandOver_Click(e); });
    on("ReelpullDismiss_Click", [c](ui::Element& e) { (*c)->ReelpullDismiss_Click(e); });
}
