// Untrusted Markdown renders its structure but loads nothing and links only to
// the web.

#include "orvel/shell/MarkdownPresentation.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

using Orvel::MarkdownPresentation::isWebLink;
using Orvel::MarkdownPresentation::render;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every tag in the output is one of the fixed subset, and every address is a
// web address.
void expectSafe(const std::string& html) {
    static const std::regex tag(R"(<(/?)([a-z0-9]+)((?: [a-z]+="[^"<>]*")*)/?>)");
    static const std::set<std::string> allowed = {
        "p",  "br", "b",  "i",  "s",  "code", "pre", "h1", "h2",        "h3",
        "h4", "h5", "h6", "ul", "ol", "li",   "a",   "hr", "blockquote"};
    std::string rest = html;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string::npos) {
        std::smatch match;
        const std::string tail = html.substr(at);
        ASSERT_TRUE(std::regex_search(tail, match, tag, std::regex_constants::match_continuous))
            << "stray '<' in: " << html;
        EXPECT_TRUE(allowed.contains(match[2].str())) << match[0] << " in: " << html;
        const auto attributes = match[3].str();
        if (!attributes.empty()) {
            static const std::regex href(R"( href="([^"]*)\")");
            std::smatch link;
            ASSERT_TRUE(std::regex_match(attributes, link, href) ||
                        std::regex_match(attributes, std::regex(R"( start="\d+")")))
                << attributes;
            if (match[2] == "a") {
                EXPECT_TRUE(isWebLink(link[1].str())) << link[1];
            }
        }
        at += static_cast<std::size_t>(match.length(0));
    }
}

TEST(MarkdownPresentation, StructureRenders) {
    const auto html = render("# Deploy\n\nThe **build** is *green* and `make` ran.\n\n"
                             "- one\n- two\n\n1. first\n2. second\n\n```\nlet x = 1 < 2\n```\n");
    EXPECT_TRUE(contains(html, "<h1>Deploy</h1>")) << html;
    EXPECT_TRUE(contains(html, "<b>build</b>")) << html;
    EXPECT_TRUE(contains(html, "<i>green</i>")) << html;
    EXPECT_TRUE(contains(html, "<code>make</code>")) << html;
    EXPECT_TRUE(contains(html, "<ul><li>one</li><li>two</li></ul>")) << html;
    EXPECT_TRUE(contains(html, "<ol><li>first</li><li>second</li></ol>")) << html;
    EXPECT_TRUE(contains(html, "<pre>let x = 1 &lt; 2</pre>")) << html;
    expectSafe(html);
}

TEST(MarkdownPresentation, NestedListsQuotesAndHeadingsOfEveryLevel) {
    const auto html = render("## Two\n###### Six\nTitle\n===\n> quoted *text*\n\n"
                             "- outer\n  - inner\n- next\n\n3) third\n4) fourth\n\n---\n");
    EXPECT_TRUE(contains(html, "<h2>Two</h2><h6>Six</h6><h1>Title</h1>")) << html;
    EXPECT_TRUE(contains(html, "<blockquote><p>quoted <i>text</i></p></blockquote>")) << html;
    EXPECT_TRUE(contains(html, "<ul><li>outer<ul><li>inner</li></ul></li><li>next</li></ul>"))
        << html;
    EXPECT_TRUE(contains(html, "<ol start=\"3\"><li>third</li><li>fourth</li></ol>")) << html;
    EXPECT_TRUE(contains(html, "<hr/>")) << html;
    expectSafe(html);
}

TEST(MarkdownPresentation, ImagesNeverLoadAndShowTheirText) {
    for (const auto* text :
         {"![tracking pixel](https://evil.example/pixel.png)",
          "![alt][img]\n\n[img]: http://x/y.png", "<img src=\"https://evil.example/p.png\">",
          "![a](<https://e.example/p.png> \"t\")",
          "[![badge](https://e.example/b.svg)](https://ci.example/run/1)"}) {
        const auto html = render(text);
        EXPECT_FALSE(contains(html, "<img")) << html;
        EXPECT_FALSE(contains(html, ".png\"")) << html;
        EXPECT_FALSE(contains(html, ".svg")) << html;
        expectSafe(html);
    }
    EXPECT_EQ(render("![tracking pixel](https://evil.example/pixel.png)"), "<p>tracking pixel</p>");
    // An image inside a web link: the link stays, the image is its text.
    EXPECT_EQ(render("[![badge](https://e.example/b.svg)](https://ci.example/run/1)"),
              "<p><a href=\"https://ci.example/run/1\">badge</a></p>");
}

TEST(MarkdownPresentation, OnlyWebLinksStayLinks) {
    EXPECT_EQ(render("[run](https://ci.example/run?a=1&b=2)"),
              "<p><a href=\"https://ci.example/run?a=1&amp;b=2\">run</a></p>");
    EXPECT_EQ(render("[run](HTTP://ci.example/)"), "<p><a href=\"HTTP://ci.example/\">run</a></p>");
    for (const auto* text :
         {"[click](javascript:alert(1))", "[file](file:///etc/passwd)", "[mail](mailto:a@b.c)",
          "[rel](/relative/path)", "[none]()", "[data](data:text/html,<b>x</b>)",
          "[sp](java\tscript:alert(1))", "<javascript:alert(1)>", "[x][r]\n\n[r]: vbscript:foo",
          "[ref]\n\n[ref]: file:///tmp/a"}) {
        const auto html = render(text);
        EXPECT_FALSE(contains(html, "<a ")) << text << " → " << html;
        expectSafe(html);
    }
    EXPECT_EQ(render("[click](javascript:alert(1))"), "<p>click</p>");
}

TEST(MarkdownPresentation, AutolinksAndReferences) {
    EXPECT_EQ(render("see <https://a.example/x> and https://b.example/y."),
              "<p>see <a href=\"https://a.example/x\">https://a.example/x</a> and "
              "<a href=\"https://b.example/y\">https://b.example/y</a>.</p>");
    // A control character ends a bare address; DEL is one too.
    EXPECT_EQ(render("https://c.example/a\x7f\xff/b"),
              "<p><a href=\"https://c.example/a\">https://c.example/a</a>\x7f\xff/b</p>");
    EXPECT_EQ(render("[docs][d] and [d]\n\n[D]: https://d.example \"Docs\""),
              "<p><a href=\"https://d.example\">docs</a> and <a "
              "href=\"https://d.example\">d</a></p>");
}

TEST(MarkdownPresentation, RawHtmlAndEntitiesShowAsText) {
    const auto html = render("<script>alert('x')</script> & <b onclick=\"x\">bold</b>");
    EXPECT_EQ(html, "<p>&lt;script&gt;alert('x')&lt;/script&gt; &amp; &lt;b "
                    "onclick=&quot;x&quot;&gt;bold&lt;/b&gt;</p>");
    // A crafted address cannot leave its attribute.
    const auto quoted = render("[x](https://a.example/\"onmouseover=\"alert(1))");
    EXPECT_FALSE(contains(quoted, "\"onmouseover")) << quoted;
    expectSafe(quoted);
}

TEST(MarkdownPresentation, EscapesUnmatchedDelimitersAndLineBreaks) {
    EXPECT_EQ(render("2 * 3 = 6 and a_b_c \\*not\\*"), "<p>2 * 3 = 6 and a_b_c *not*</p>");
    EXPECT_EQ(render("one  \ntwo\\\nthree\nfour"), "<p>one<br/>two<br/>three\nfour</p>");
    EXPECT_EQ(render("`unclosed and **bold**"), "<p>`unclosed and <b>bold</b></p>");
    EXPECT_EQ(render("~~gone~~"), "<p><s>gone</s></p>");
}

TEST(MarkdownPresentation, PathologicalInputStaysBoundedAndSafe) {
    std::string brackets(50000, '[');
    std::string stars;
    for (int i = 0; i < 20000; ++i) {
        stars += "*a ";
    }
    std::string nested;
    for (int i = 0; i < 200; ++i) {
        nested += "> - ";
    }
    std::string links;
    for (int i = 0; i < 5000; ++i) {
        links += "[a](";
    }
    for (const auto& text : {brackets, stars, nested + "deep", links, std::string("\0x\0", 3)}) {
        const auto html = render(text);
        expectSafe(html);
    }
    EXPECT_FALSE(contains(render(std::string("\0", 1)), std::string("\0", 1)));
}

TEST(MarkdownPresentation, IsWebLink) {
    EXPECT_TRUE(isWebLink("https://a.example"));
    EXPECT_TRUE(isWebLink("HtTp://a.example/x?y#z"));
    EXPECT_FALSE(isWebLink("https ://a.example"));
    EXPECT_FALSE(isWebLink(" https://a.example"));
    EXPECT_FALSE(isWebLink("https://a.example/\n"));
    EXPECT_FALSE(isWebLink("ftp://a.example"));
    EXPECT_FALSE(isWebLink("//a.example"));
    EXPECT_FALSE(isWebLink(""));
}

} // namespace
