#pragma once
// The page shown in place of a site whose certificate was refused: it names
// the host and the problems in words, in the browser's language. What the
// certificate says reaches the page only as query text, which the page puts
// into the document as text, never as markup.
#include <cstdint>
#include <string>

#include "platform/web_view.h"

// The address of the certificate page for a refused load of failingUri.
// english picks the page's language.
std::string CertificatePageAddress(const std::string& failingUri, const std::string& subject, uint32_t problems,
                                   bool english);

// The problems as the page's words know them ("unknown-ca,expired"); an
// unknown bit is "other".
std::string CertificateProblemNames(uint32_t problems);

// Every byte outside A-Z a-z 0-9 "-._~" as %XX.
std::string PercentEncoded(const std::string& text);
