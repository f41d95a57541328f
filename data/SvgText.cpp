#include "data/SvgText.h"

#include <vector>

namespace {

constexpr std::string_view kGroupStart = "<g ";
constexpr std::string_view kGroupEnd = "</g>";
constexpr std::string_view kPolylineStart = "<polyline fill=\"none\" vector-effect=\"non-scaling-stroke\" points=\"";
constexpr std::string_view kPolylineEnd = "\" />";
constexpr std::string_view kIdentity = " transform=\"matrix(1,0,0,1,0,0)\"";
constexpr std::string_view kGroupFontAttribute = "font-";

// The group's attributes with runs of white space as one space, without the identity transform
// and the font attributes.
std::string GroupAttributes(std::string_view header) {
    std::string text;
    bool space = false;
    for (const char c : header) {
        if (c == '\n' || c == ' ' || c == '\r' || c == '\t') {
            space = true;
            continue;
        }
        if (space && !text.empty())
            text += ' ';
        space = false;
        text += c;
    }
    if (const std::size_t at = text.find(kIdentity); at != std::string::npos)
        text.erase(at, kIdentity.size());
    while (true) {
        const std::size_t at = text.find(std::string(" ") + std::string(kGroupFontAttribute));
        if (at == std::string::npos)
            break;
        const std::size_t quote = text.find('"', text.find('"', at) + 1);
        if (quote == std::string::npos)
            break;
        text.erase(at, quote + 1 - at);
    }
    return text;
}

// "38,22 1023,22 " as path data: "M38 22L1023 22".
std::string PolylinePath(std::string_view points) {
    std::string path;
    bool first = true;
    std::size_t start = 0;
    while (start < points.size()) {
        std::size_t end = points.find(' ', start);
        if (end == std::string_view::npos)
            end = points.size();
        std::string_view point = points.substr(start, end - start);
        start = end + 1;
        if (point.empty())
            continue;
        std::string pair(point);
        if (const std::size_t comma = pair.find(','); comma != std::string::npos)
            pair[comma] = ' ';
        path += (first ? "M" : "L") + pair;
        first = false;
    }
    return path;
}

// A group's content with each run of polylines as one path.
std::string JoinPolylines(std::string_view content) {
    std::string result;
    std::string path;
    const auto flush = [&] {
        if (!path.empty())
            result += "<path vector-effect=\"non-scaling-stroke\" d=\"" + path + "\"/>\n";
        path.clear();
    };
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t lineEnd = content.find('\n', at);
        if (lineEnd == std::string_view::npos)
            lineEnd = content.size();
        const std::string_view line = content.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (line.starts_with(kPolylineStart) && line.ends_with(kPolylineEnd)) {
            path += PolylinePath(line.substr(kPolylineStart.size(),
                                             line.size() - kPolylineStart.size() - kPolylineEnd.size()));
            continue;
        }
        if (line.empty())
            continue;
        flush();
        result += std::string(line) + '\n';
    }
    flush();
    return result;
}

struct Group {
    std::string attributes;
    std::string content;
};

} // namespace

std::string CompactSvg(std::string_view svg) {
    const std::size_t root = svg.find("<svg");
    const std::size_t rootEnd = root == std::string_view::npos ? root : svg.find('>', root);
    const std::size_t outer = rootEnd == std::string_view::npos ? rootEnd : svg.find(kGroupStart, rootEnd);
    const std::size_t outerEnd = outer == std::string_view::npos ? outer : svg.find('>', outer);
    const std::size_t close = svg.rfind("</svg>");
    if (outerEnd == std::string_view::npos || close == std::string_view::npos || close < outerEnd)
        return std::string(svg);
    // Qt's picture: the root, one outer group, then one flat group per drawing call.
    std::vector<Group> groups;
    std::size_t at = outerEnd + 1;
    while (true) {
        const std::size_t start = svg.find(kGroupStart, at);
        if (start == std::string_view::npos || start > close)
            break;
        const std::size_t headerEnd = svg.find('>', start);
        const std::size_t end = headerEnd == std::string_view::npos ? headerEnd : svg.find(kGroupEnd, headerEnd);
        if (end == std::string_view::npos)
            return std::string(svg);
        const std::string_view content = svg.substr(headerEnd + 1, end - headerEnd - 1);
        // A nested group would end where this search does not look; keep such a picture as it is.
        if (content.find(kGroupStart) != std::string_view::npos)
            return std::string(svg);
        std::string attributes = GroupAttributes(svg.substr(start + 1, headerEnd - start - 1));
        if (!groups.empty() && groups.back().attributes == attributes)
            groups.back().content += content;
        else
            groups.push_back({std::move(attributes), std::string(content)});
        at = end + kGroupEnd.size();
    }
    std::string compact(svg.substr(root, rootEnd + 1 - root));
    compact += '\n';
    compact += "<" + GroupAttributes(svg.substr(outer + 1, outerEnd - outer - 1)) + ">\n";
    for (const Group& group : groups)
        compact += "<" + group.attributes + ">\n" + JoinPolylines(group.content) + "</g>\n";
    compact += svg.substr(at, close - at);
    return compact + "</svg>\n";
}
