// The certificate page's address: every problem named, nothing of the
// certificate able to break out of its query field.
#include <gtest/gtest.h>

#include "browser/certificate_page.h"

namespace {

using namespace platform::CertificateProblem;

TEST(CertificatePage, NamesEachProblemAndKeepsTheSubjectInsideItsField)
{
    struct Case {
        uint32_t problems;
        const char* names;
    };
    for (const Case& c : {Case{UnknownAuthority, "unknown-ca"}, Case{WrongHost | Expired, "bad-identity,expired"},
                          Case{NotYetValid | Revoked | Insecure, "not-activated,revoked,insecure"},
                          Case{Other, "other"}, Case{0, "other"}, Case{Expired | 1024, "expired,other"}})
        EXPECT_EQ(CertificateProblemNames(c.problems), c.names) << c.problems;

    const std::string subject = "CN=<b>x</b>&host=evil.example#\"'\xC3\xA9";
    EXPECT_EQ(CertificatePageAddress("https://b\xC3\xBC" "cher.example:8443/p?q", subject, UnknownAuthority, false),
              "ms-appx-web:///Assets/wPageCertificate_PT.htm?host=" + PercentEncoded(platform::Uri::Parse(
                  "https://b\xC3\xBC" "cher.example:8443/p?q")->Host()) +
                  "&problems=unknown-ca&subject=CN%3D%3Cb%3Ex%3C%2Fb%3E%26host%3Devil.example%23%22%27%C3%A9");
    // A megabyte of subject is cut; an unparsable address names no host.
    auto huge = CertificatePageAddress("not an address", std::string(1 << 20, 'a'), Expired, true);
    EXPECT_EQ(huge.rfind("ms-appx-web:///Assets/wPageCertificate_EN.htm?host=&problems=expired&subject=aaa", 0), 0u);
    EXPECT_LT(huge.size(), 1200u);
}

} // namespace
