// Uri on GLib's parser: what it accepts, how it writes the address back, and
// the extension the content-loading handler compares.
#include <gtest/gtest.h>

#include "platform/uri.h"

namespace {

struct Accepted {
    const char* Text;
    const char* Absolute;
    const char* Scheme;
    const char* Host;
    const char* Path;
};

TEST(UriTest, ParsesAbsoluteAddresses)
{
    const Accepted cases[] = {
        {"http://example.com", "http://example.com/", "http", "example.com", "/"},
        {"https://example.com/a/b?q=1#top", "https://example.com/a/b?q=1#top", "https", "example.com", "/a/b"},
        {"HTTPS://example.com:443/x", "https://example.com/x", "https", "example.com", "/x"},
        {"ms-appx-web:///Assets/wPageError_EN.htm", "ms-appx-web:///Assets/wPageError_EN.htm", "ms-appx-web", "",
         "/Assets/wPageError_EN.htm"},
        // A space typed in the path is escaped, not refused.
        {"http://example.com/a b", "http://example.com/a%20b", "http", "example.com", "/a%20b"},
        // Text beyond ASCII is escaped as UTF-8, as the engine sends it.
        {"http://example.com/ação", "http://example.com/a%C3%A7%C3%A3o", "http", "example.com", "/a%C3%A7%C3%A3o"},
        {"about:blank", "about:blank", "about", "", "blank"},
    };
    for (const auto& c : cases) {
        const auto uri = platform::Uri::Parse(c.Text);
        ASSERT_TRUE(uri) << c.Text;
        EXPECT_EQ((std::vector<std::string>{uri->AbsoluteUri(), uri->Scheme(), uri->Host(), uri->Path()}),
                  (std::vector<std::string>{c.Absolute, c.Scheme, c.Host, c.Path}));
    }
}

TEST(UriTest, RejectsTextsThatAreNoAbsoluteAddress)
{
    const std::string rejected[] = {
        "",
        "example.com",
        "http://[bad",
        "http://[::1/",
        "http://examp;e.com/path", // a host beside a path not at "/": no written form
        "http://a%2523.b/",        // an escaped host name comes back as another address
        std::string("http://example.com/\0evil", 24),
    };
    for (const auto& text : rejected)
        EXPECT_FALSE(platform::Uri::Parse(text)) << '"' << text << '"';
}

TEST(UriTest, ExtensionIsTheLastDotOfTheLastPathSegment)
{
    const std::pair<const char*, const char*> cases[] = {
        {"http://example.com/photo.jpg", ".jpg"},
        {"http://example.com/PHOTO.JPG", ".JPG"}, // case kept: the caller compares exactly
        {"http://example.com/", ""},
        {"http://example.com/v1.2/readme", ""},          // a dot in a directory name
        {"http://example.com/img.png?size=large.gif", ".png"}, // the query is no part of the path
        {"http://example.com/page#section.jpg", ""},      // nor the fragment
        {"http://www.example.com", ""},                   // dots of the host do not count
        {"ms-appx-web:///Assets/wPageError_EN.htm", ".htm"},
    };
    for (const auto& [text, extension] : cases) {
        const auto uri = platform::Uri::Parse(text);
        ASSERT_TRUE(uri) << text;
        EXPECT_EQ(uri->Extension(), extension) << text;
    }
}

} // namespace
