#pragma once

// The panel's navigation destinations. `detail` and `card` carry the id of
// the update or card they show.

#include <string>

namespace Orvel {

struct AppScreen {
    enum class Kind { detail, card, inbox, updates, channels, engage, pair, welcome, settings };

    Kind kind = Kind::inbox;
    // The update id for `detail`, the card id for `card`; empty otherwise.
    std::string id;

    static AppScreen detail(std::string updateId) { return {Kind::detail, std::move(updateId)}; }
    static AppScreen card(std::string cardId) { return {Kind::card, std::move(cardId)}; }
    static AppScreen inbox() { return {Kind::inbox, {}}; }
    static AppScreen updates() { return {Kind::updates, {}}; }
    static AppScreen channels() { return {Kind::channels, {}}; }
    static AppScreen engage() { return {Kind::engage, {}}; }
    static AppScreen pair() { return {Kind::pair, {}}; }
    static AppScreen welcome() { return {Kind::welcome, {}}; }
    static AppScreen settings() { return {Kind::settings, {}}; }

    // Equal cases are equal; `detail` and `card` also compare their ids.
    bool operator==(const AppScreen& other) const {
        if (kind != other.kind) {
            return false;
        }
        return (kind != Kind::detail && kind != Kind::card) || id == other.id;
    }
};

} // namespace Orvel
