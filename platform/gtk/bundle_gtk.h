#pragma once
// Files compiled into the binary (a GResource bundle): the page markup, the
// resource tables and the application pages.
#include <memory>
#include <string>

#include "platform/po_resources.h"

namespace gtkui {

// The file at a bundle path ("/app/wMain.xaml"); empty when absent.
std::string ReadBundledFile(const std::string& path);

// The resource table for the user's languages ("/resources/pt-BR.po" or
// "/resources/en-US.po"); problems in it are reported on stderr.
std::unique_ptr<platform::PoResources> LoadResourceTable();

} // namespace gtkui
