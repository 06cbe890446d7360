#include "browser/certificate_page.h"

#include <utility>

std::string PercentEncoded(const std::string& text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (unsigned char byte : text) {
        bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                          byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (unreserved) {
            encoded += static_cast<char>(byte);
        } else {
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0xF];
        }
    }
    return encoded;
}

std::string CertificateProblemNames(uint32_t problems)
{
    namespace CertificateProblem = platform::CertificateProblem;
    static constexpr std::pair<uint32_t, const char*> Names[] = {
        {CertificateProblem::UnknownAuthority, "unknown-ca"}, {CertificateProblem::WrongHost, "bad-identity"},
        {CertificateProblem::NotYetValid, "not-activated"},   {CertificateProblem::Expired, "expired"},
        {CertificateProblem::Revoked, "revoked"},             {CertificateProblem::Insecure, "insecure"},
    };
    std::string names;
    uint32_t known = 0;
    for (const auto& [bit, name] : Names) {
        known |= bit;
        if (problems & bit)
            names += (names.empty() ? "" : ",") + std::string(name);
    }
    if ((problems & ~known) || names.empty())
        names += (names.empty() ? "" : ",") + std::string("other");
    return names;
}

std::string CertificatePageAddress(const std::string& failingUri, const std::string& subject, uint32_t problems,
                                   bool english)
{
    auto uri = platform::Uri::Parse(failingUri);
    // A very long subject is cut: the page needs the name, not a megabyte.
    constexpr size_t MaxSubject = 1000;
    std::string address = english ? "ms-appx-web:///Assets/wPageCertificate_EN.htm"
                                  : "ms-appx-web:///Assets/wPageCertificate_PT.htm";
    address += "?host=" + PercentEncoded(uri ? uri->Host() : std::string());
    address += "&problems=" + PercentEncoded(CertificateProblemNames(problems));
    address += "&subject=" + PercentEncoded(subject.substr(0, MaxSubject));
    return address;
}
