// Asking before the browser closes.
#include "app/main_page.h"

namespace {
constexpr const char* ProductName = "Tolvane Browser";
}

void MainPage::CloseAppButton_Click(ui::Element&)
{
    auto& strings = m_services.Strings;
    m_services.Dialogs.Show(strings.GetString("wMessageBox_AlertCloseApp"), ProductName,
                            {strings.GetString("wMessageBox_Yes"), strings.GetString("wMessageBox_No")},
                            [this](const std::string& label) {
                                if (label == m_services.Strings.GetString("wMessageBox_Yes"))
                                    m_services.View.Exit();
                            });
}
