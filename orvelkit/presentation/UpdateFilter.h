#pragma once

// The filter buttons of the updates screen: which triaged rows, and which
// rows of each per-source group, stay in view.

#include "orvelkit/json/Enumeration.h"
#include "orvelkit/presentation/AgentRow.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace OrvelKit {

enum class UpdateFilter { all, unread, needsYou, running, failed };

// Every filter, in the order of the buttons.
inline constexpr std::array allUpdateFilters{UpdateFilter::all, UpdateFilter::unread,
                                             UpdateFilter::needsYou, UpdateFilter::running,
                                             UpdateFilter::failed};

// The title on the filter's button: "All", "Unread", "Needs you", "Running",
// "Failed".
std::string_view title(UpdateFilter filter);

// Whether the filter keeps the row: `all` always, `unread` unread rows, the
// others rows whose dot is `need`, `running` or `failed` respectively.
bool includes(UpdateFilter filter, const AgentRow& row);

namespace Presentation {

// The rows the filter keeps, in their order.
std::vector<AgentRow> filteredUpdates(const std::vector<AgentRow>& rows, UpdateFilter filter);

// Each group with only the rows the filter keeps, in order; groups left
// without rows are dropped. A group keeps its id and its agent (that of its
// newest row, even when the filter removes that row).
std::vector<ActivityGroup> filteredActivityGroups(const std::vector<ActivityGroup>& groups,
                                                  UpdateFilter filter);

} // namespace Presentation
} // namespace OrvelKit

namespace OrvelKit::Json {

template <>
struct EnumTraits<OrvelKit::UpdateFilter> {
    using E = OrvelKit::UpdateFilter;
    static constexpr std::array cases{std::pair{E::all, std::string_view("all")},
                                      std::pair{E::unread, std::string_view("unread")},
                                      std::pair{E::needsYou, std::string_view("needsYou")},
                                      std::pair{E::running, std::string_view("running")},
                                      std::pair{E::failed, std::string_view("failed")}};
};

} // namespace OrvelKit::Json
