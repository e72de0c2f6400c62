// Untrusted Markdown renders its structure but loads nothing and links only to
// the web.

#include "orvel/shell/MarkdownPresentation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Orvel::MarkdownPresentation::isWebLink;
using Orvel::MarkdownPresentation::maximumLinkLength;
using Orvel::MarkdownPresentation::maximumMarkdownLength;
using Orvel::MarkdownPresentation::maximumNesting;
using Orvel::MarkdownPresentation::render;

struct Case {
    std::string markdown;
    std::string html;
};

void expectRenders(const std::vector<Case>& cases) {
    for (const auto& [markdown, html] : cases) {
        EXPECT_EQ(render(markdown), html) << markdown;
    }
}

TEST(MarkdownPresentation, EscapesEverythingTheAuthorWrote) {
    expectRenders({
        {"<script>alert('x')</script> & <b onclick=\"x\">bold</b>",
         "<p>&lt;script&gt;alert('x')&lt;/script&gt; &amp; &lt;b "
         "onclick=&quot;x&quot;&gt;bold&lt;/b&gt;</p>"},
        {"&lt;b&gt; &#x41;&#66; &copy; &bogus; &#0;",
         "<p>&lt;b&gt; AB \u00A9 &amp;bogus; \uFFFD</p>"},
        {"a\0b"s, "<p>a\uFFFDb</p>"},
        // md4c closes an emphasis it never opened here (found by fuzzing).
        {"[b](*)*", "<p>b</p>"},
    });
}

TEST(MarkdownPresentation, OnlyWebLinksStayLinks) {
    expectRenders({
        {"[run](https://ci.example/run?a=1&b=2)",
         "<p><a href=\"https://ci.example/run?a=1&amp;b=2\">run</a></p>"},
        {"[x](https://a.example/&#x22;onclick=&#x22;)",
         "<p><a href=\"https://a.example/&quot;onclick=&quot;\">x</a></p>"},
        {"[docs][d]\n\n[D]: http://d.example \"Docs\"",
         "<p><a href=\"http://d.example\">docs</a></p>"},
        {"[click](javascript:alert(1))", "<p>click</p>"},
        {"[js](&#x6a;avascript:alert(1))", "<p>js</p>"},
        {"[rel](/relative/path) [none]()", "<p>rel none</p>"},
        {"<javascript:alert(1)>", "<p>javascript:alert(1)</p>"},
        {"[ref]\n\n[ref]: file:///tmp/a", "<p>ref</p>"},
        {"[x](https://a.example/" + std::string(maximumLinkLength, 'a') + ")", "<p>x</p>"},
        // Links never nest: the inner address is text.
        {"[a https://in.example b](https://out.example)",
         "<p><a href=\"https://out.example\">a https://in.example b</a></p>"},
    });
}

TEST(MarkdownPresentation, ImagesShowTheirTextOnly) {
    expectRenders({
        {"![tracking *pixel*](https://evil.example/p.png)", "<p>tracking pixel</p>"},
        {"![alt][img]\n\n[img]: http://x.example/y.png", "<p>alt</p>"},
        {"[![badge](https://e.example/b.svg)](https://ci.example/1)",
         "<p><a href=\"https://ci.example/1\">badge</a></p>"},
    });
}

TEST(MarkdownPresentation, StructureRendersAndNestingIsLimited) {
    expectRenders({
        {"# Deploy\n- one\n  - inner\n> *quoted*",
         "<h1>Deploy</h1><ul><li>one<ul><li>inner</li></ul></li></ul>"
         "<blockquote><p><i>quoted</i></p></blockquote>"},
        {"**b** ~~s~~ `a < b`\n\n```\n1 < 2\n```",
         "<p><b>b</b> <s>s</s> <code>a &lt; b</code></p><pre>1 &lt; 2</pre>"},
    });
    // Nesting past the limit keeps the text (list items one a line) without
    // the tags: quotes around a list, emphasis alternating "*" and "_".
    std::string quotes, opened, closed, emphasis, closers, shown, tail;
    for (int i = 0; i < maximumNesting + 2; ++i) {
        const auto mark = i % 2 == 0 ? "*"s : "_"s;
        quotes += "> ";
        emphasis += mark + "w ";
        closers = " w" + mark + closers;
        if (i < maximumNesting) {
            opened += "<blockquote>";
            closed += "</blockquote>";
            shown += "<i>w ";
            tail += i > 0 ? " w</i>" : "";
        }
    }
    expectRenders({
        {quotes + "- a\n" + quotes + "- b", opened + "a<br/>b<br/>" + closed},
        {emphasis + "x" + closers.substr(2), "<p>" + shown + "w w x w w</i>" + tail + "</p>"},
    });
}

TEST(MarkdownPresentation, BareWebAddressesLinkUpToAControlCharacter) {
    expectRenders({
        {"see https://b.example/y. and (http://x.example/a)",
         "<p>see <a href=\"https://b.example/y\">https://b.example/y</a>. and "
         "(<a href=\"http://x.example/a\">http://x.example/a</a>)</p>"},
        {"https://c.example/a\x7f\xff/b",
         "<p><a href=\"https://c.example/a\">https://c.example/a</a>\x7f\xff/b</p>"},
        {"ftp://f.example/x www.w.example", "<p>ftp://f.example/x www.w.example</p>"},
        // A written address holding a control character is refused, not cut.
        {"[x](<https://a.example/\x01q>)", "<p>x</p>"},
    });
}

TEST(MarkdownPresentation, TextPastTheMarkdownLimitShowsPlain) {
    const std::string lines(maximumMarkdownLength, 'x');
    EXPECT_EQ(render("**a**\n" + lines + "\n**b** <i>"),
              "<p><b>a</b></p><p>" + lines + "<br/>**b** &lt;i&gt;</p>");
    // Without a line end the cut falls before a character, never inside one.
    const std::string run(maximumMarkdownLength - 1, 'y');
    EXPECT_EQ(render(run + "\u00E9*b*"), "<p>" + run + "</p><p>\u00E9*b*</p>");
}

TEST(MarkdownPresentation, IsWebLink) {
    for (const auto* url : {"https://a.example", "HtTp://a.example/x?y#z"}) {
        EXPECT_TRUE(isWebLink(url)) << url;
    }
    for (const auto* url : {"https ://a.example", " https://a.example", "https://a.example/\n",
                            "https://a.example/\x7f", "ftp://a.example", "//a.example", ""}) {
        EXPECT_FALSE(isWebLink(url)) << url;
    }
}

} // namespace
