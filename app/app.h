#pragma once
// The application object: receives launches and activations, keeps the
// address it was started with and builds the one page.
#include <memory>
#include <string>

#include "app/process_state.h"
#include "platform/platform.h"
#include "platform/ui/element.h"

class MainPage;

struct LaunchArgs {
    std::string Arguments;          // the address a pinned page carries; empty otherwise
    bool PrelaunchActivated = false;
};

enum class ActivationKind { Launch = 0, Protocol = 4 };

// What the application needs of its window.
class AppWindow {
public:
    virtual ~AppWindow() = default;
    // Makes the page's root element the window's content.
    virtual void SetContent(ui::Element& root) = 0;
    virtual void Activate() = 0;
};

class App {
public:
    App(platform::PlatformServices& services, AppWindow& window);
    ~App();

    void OnLaunched(const LaunchArgs& args);
    // False when the address was refused (the user has been told why).
    bool OnActivated(ActivationKind kind, const std::string& rawUri);
    void OnSuspending();
    // The desktop's "New private tab": the browser starts when it is not
    // running, then opens a private tab on the home page.
    void OnNewPrivateTab();

    MainPage* Page() const { return m_page.get(); }

private:
    void CreatePage();
    void ReportRefusal(const std::string& messageKey);

    platform::PlatformServices& m_services;
    AppWindow& m_window;
    ProcessState m_process;
    std::unique_ptr<MainPage> m_page;
};
