#include "tools/devserver/Fault.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <charconv>
#include <vector>

namespace OrvelDev {

namespace {

struct KindName {
    FaultKind kind;
    std::string_view name;
    bool takesValue;
};

constexpr KindName kindNames[] = {
    {FaultKind::status, "status", true},
    {FaultKind::malformedBody, "malformed", false},
    {FaultKind::truncatedBody, "truncated", false},
    {FaultKind::invalidNotification, "invalid-notification", false},
    {FaultKind::delay, "delay", true},
    {FaultKind::closeMidBody, "close-mid-body", false},
};

OrvelKit::Expected<std::uint64_t, std::string> number(std::string_view text,
                                                      std::string_view what) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return OrvelKit::unexpected(std::string(what) + " needs a whole number, not \"" +
                                    std::string(text) + "\"");
    }
    return value;
}

} // namespace

std::string describeFault(const Fault& fault) {
    std::string text;
    for (const auto& entry : kindNames) {
        if (entry.kind == fault.kind) {
            text = entry.name;
        }
    }
    if (fault.kind == FaultKind::status) {
        text += ":" + std::to_string(fault.status);
    } else if (fault.kind == FaultKind::delay) {
        text += ":" + std::to_string(fault.delay.count());
    }
    if (fault.times) {
        text += "*" + std::to_string(*fault.times);
    }
    return text;
}

OrvelKit::Expected<std::pair<std::string, Fault>, std::string>
parseFaultRule(std::string_view rule) {
    using OrvelKit::unexpected;
    const auto equals = rule.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return unexpected(std::string("a fault reads ENDPOINT=KIND[:VALUE][*TIMES]"));
    }
    std::string endpoint(rule.substr(0, equals));
    if (endpoint != "*" && endpoint.front() != '/') {
        endpoint.insert(endpoint.begin(), '/');
    }
    std::string_view rest = rule.substr(equals + 1);

    Fault fault;
    if (const auto star = rest.rfind('*'); star != std::string_view::npos) {
        auto times = number(rest.substr(star + 1), "*TIMES");
        if (!times) {
            return unexpected(times.error());
        }
        if (*times == 0) {
            return unexpected(std::string("*TIMES needs a count of at least 1"));
        }
        fault.times = *times;
        rest = rest.substr(0, star);
    }
    const auto colon = rest.find(':');
    const std::string_view name = rest.substr(0, colon);
    const KindName* kind = nullptr;
    for (const auto& entry : kindNames) {
        if (entry.name == name) {
            kind = &entry;
        }
    }
    if (kind == nullptr) {
        return unexpected("unknown fault \"" + std::string(name) +
                          "\" (status, malformed, truncated, invalid-notification, delay, "
                          "close-mid-body)");
    }
    if (kind->takesValue != (colon != std::string_view::npos)) {
        return unexpected("fault \"" + std::string(name) +
                          (kind->takesValue ? "\" needs a value" : "\" takes no value"));
    }
    fault.kind = kind->kind;
    if (kind->takesValue) {
        auto value = number(rest.substr(colon + 1), name);
        if (!value) {
            return unexpected(value.error());
        }
        if (fault.kind == FaultKind::status) {
            if (*value < 100 || *value > 599) {
                return unexpected(std::string("status needs a number from 100 to 599"));
            }
            fault.status = static_cast<int>(*value);
        } else {
            fault.delay = std::chrono::milliseconds(*value);
        }
    }
    return std::pair{std::move(endpoint), fault};
}

namespace FaultBodies {

std::string malformed() {
    return "<html><body><h1>502 Bad Gateway</h1></body></html>";
}

std::string truncated(std::string_view body) {
    return std::string(body.substr(0, body.size() / 2));
}

std::string withInvalidNotification(std::string_view body) {
    rapidjson::Document document;
    document.Parse(body.data(), body.size());
    if (document.HasParseError() || !document.IsObject()) {
        return std::string(body);
    }
    // The notification lists: a pull answer's own, or each channel's in a sync answer.
    std::vector<rapidjson::Value*> lists;
    const auto addList = [&](rapidjson::Value& object) {
        const auto found = object.FindMember("notifications");
        if (found != object.MemberEnd() && found->value.IsArray()) {
            lists.push_back(&found->value);
        }
    };
    addList(document);
    if (const auto channels = document.FindMember("channels");
        channels != document.MemberEnd() && channels->value.IsArray()) {
        for (auto& channel : channels->value.GetArray()) {
            if (channel.IsObject()) {
                addList(channel);
            }
        }
    }
    if (lists.empty()) {
        return std::string(body);
    }
    auto& allocator = document.GetAllocator();
    std::size_t total = 0;
    for (const auto* list : lists) {
        total += list->Size();
    }
    if (total == 0) {
        rapidjson::Value empty(rapidjson::kObjectType);
        lists.front()->PushBack(empty, allocator);
    } else {
        std::size_t index = total / 2;
        for (auto* list : lists) {
            if (index < list->Size()) {
                auto& note = (*list)[static_cast<rapidjson::SizeType>(index)];
                if (note.IsObject()) {
                    note.RemoveMember("seq");
                    note.AddMember("seq", -1, allocator);
                }
                break;
            }
            index -= list->Size();
        }
    }
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    document.Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

} // namespace FaultBodies

} // namespace OrvelDev
