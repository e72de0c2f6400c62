#pragma once

// Files built into a program (cmake/EmbedFiles.cmake makes the definitions).

#include <span>
#include <string_view>

namespace OrvelEmbedded {

struct File {
    std::string_view name;
    std::string_view contents;
};

// The web inbox: index.html, app.css and its JavaScript modules.
std::span<const File> webAppFiles();
// The guide for agents: llms.txt.
std::span<const File> agentGuideFiles();

// The file of `files` called `name`, or null.
inline const File* find(std::span<const File> files, std::string_view name) {
    for (const auto& file : files) {
        if (file.name == name) {
            return &file;
        }
    }
    return nullptr;
}

} // namespace OrvelEmbedded
