#include "graph/ChartKinds.h"

namespace lapgraph {
ChartKind ChartKindFromSetting(int value) {
    for (const ChartKindInfo* info : ChartKinds())
        if (static_cast<int>(info->kind) == value)
            return info->kind;
    return ChartKind::Gap;
}
} // namespace lapgraph

const ChartKindInfo& ChartKindOf(lapgraph::ChartKind kind) {
    for (const ChartKindInfo* info : ChartKinds())
        if (info->kind == kind)
            return *info;
    return kGapChart;
}

const ChartKindInfo* ChartKindForCommand(UINT command) {
    for (const ChartKindInfo* info : ChartKinds())
        if (info->command == command)
            return info;
    return nullptr;
}

const ChartKindInfo* ChartKindNamed(std::string_view cliName) {
    for (const ChartKindInfo* info : ChartKinds())
        if (cliName == info->cliName)
            return info;
    return nullptr;
}
