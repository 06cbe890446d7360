// Asking before the browser closes.
#include "app/main_page.h"
#include "app/product_messages.h"

void MainPage::CloseAppButton_Click(ui::Element&)
{
    auto& strings = m_services.Strings;
    m_messages->Ask(strings.GetString("wMessageBox_AlertCloseApp"), strings.GetString("wMessageBox_Yes"),
                    strings.GetString("wMessageBox_No"), [this] { m_services.View.Exit(); });
}
