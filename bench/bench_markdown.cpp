// Markdown rendering of agents' text: 1 MB of inputs built to make a parser
// backtrack, nest or rescan, next to ordinary prose. Every one must render in
// well under 100 ms on the GUI thread.

#include "orvel/shell/MarkdownPresentation.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t megabyte = 1 << 20;

std::string repeated(std::string_view unit, std::size_t size = megabyte) {
    std::string text;
    text.reserve(size + unit.size());
    while (text.size() < size) {
        text += unit;
    }
    text.resize(size);
    return text;
}

// Pieces made by a function of their index, up to the size.
std::string numbered(const std::function<std::string(std::size_t)>& piece) {
    std::string text;
    for (std::size_t i = 0; text.size() < megabyte; ++i) {
        text += piece(i);
    }
    text.resize(megabyte);
    return text;
}

std::vector<std::pair<std::string, std::string>> inputs() {
    return {
        {"prose", numbered([](std::size_t i) {
             return "Build " + std::to_string(i) + " of **main** passed in *42 s*; see " +
                    "[the log](https://ci.example/run/" + std::to_string(i) +
                    ") or https://ci.example/x.\n\n";
         })},
        {"open_autolink", repeated("(http://")},
        {"open_link", repeated("[a](")},
        {"open_bracket", repeated("[")},
        {"empty_brackets", repeated("[]")},
        {"open_image", repeated("![")},
        {"open_emphasis", repeated("*a")},
        {"mixed_emphasis", repeated("*a **b _c __d ")},
        {"entities", repeated("&#")},
        {"backslashes", repeated("\\")},
        {"quote_list", repeated("> - ")},
        {"quotes_one_line", repeated(">")},
        {"quotes_per_line",
         numbered([](std::size_t i) { return std::string(i % 1000, '>') + " x\n"; })},
        {"nested_lists",
         numbered([](std::size_t i) { return std::string(2 * (i % 500), ' ') + "- x\n"; })},
        {"backtick_runs",
         numbered([](std::size_t i) { return std::string(i % 2000 + 1, '`') + "a"; })},
        {"backticks", repeated("`")},
        {"open_fences", repeated("```\n")},
        {"definitions", repeated("[a]: ")},
        {"bare_addresses", repeated("https://a.example/\x7f")},
    };
}

void render(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Orvel::MarkdownPresentation::render(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

const bool registered = [] {
    for (auto& [name, text] : inputs()) {
        benchmark::RegisterBenchmark(
            ("BM_MarkdownRender/" + name).c_str(),
            [text = std::move(text)](benchmark::State& state) { render(state, text); })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
