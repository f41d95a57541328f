#include "data/SvgText.h"

#include <charconv>
#include <vector>

namespace {

constexpr std::string_view kGroupStart = "<g ";
constexpr std::string_view kGroupEnd = "</g>";
constexpr std::string_view kPolylineStart =
    "<polyline fill=\"none\" vector-effect=\"non-scaling-stroke\" points=\"";
constexpr std::string_view kPolylineEnd = "\" />";
constexpr std::string_view kIdentity = " transform=\"matrix(1,0,0,1,0,0)\"";
constexpr std::string_view kGroupFontAttribute = "font-";
// Attributes that only restate SVG's initial values.
constexpr std::string_view kDefaultAttributes[] = {" fill-opacity=\"1\"", " stroke-opacity=\"1\"",
                                                   " font-weight=\"400\"", " font-style=\"normal\"",
                                                   " stroke-width=\"1\""};
// Inherited: an inner group need not repeat them when the outer group sets them so.
constexpr std::string_view kInheritedAttributes[] = {" stroke-linecap=\"square\"",
                                                     " stroke-linejoin=\"bevel\""};

void EraseAll(std::string& text, std::string_view part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

// A text element's tag without the initial values and the line break Qt puts before its '>'.
std::string TextLine(std::string line) {
    for (const std::string_view attribute : kDefaultAttributes)
        EraseAll(line, attribute);
    const std::size_t at = line.find(" \n >");
    if (at != std::string::npos)
        line.replace(at, 4, ">");
    return line;
}

// The group's attributes with runs of white space as one space, without the identity transform
// and the font attributes.
std::string GroupAttributes(std::string_view header, std::string_view outer) {
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
    EraseAll(text, kIdentity);
    for (const std::string_view attribute : kDefaultAttributes)
        EraseAll(text, attribute);
    for (const std::string_view attribute : kInheritedAttributes)
        if (outer.find(attribute) != std::string_view::npos)
            EraseAll(text, attribute);
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

bool ParseWhole(std::string_view text, long& value) {
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && rest == text.data() + text.size();
}

// "38,22 1023,22 " as path data relative to the pen's position: "m0 0l985 0" from (38, 22).
std::string PolylinePath(std::string_view points, long& penX, long& penY) {
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
        const std::size_t comma = point.find(',');
        if (comma == std::string_view::npos)
            return {};
        long x = 0;
        long y = 0;
        if (!ParseWhole(point.substr(0, comma), x) || !ParseWhole(point.substr(comma + 1), y))
            return {};
        path += (first ? "m" : "l") + std::to_string(x - penX) + ' ' + std::to_string(y - penY);
        penX = x;
        penY = y;
        first = false;
    }
    return path;
}

// <rect x="984.5" y="256.5" width="1" height="1"/> as path data; empty for any other line.
std::string RectPath(std::string_view line) {
    constexpr std::string_view kRectStart = "<rect x=\"";
    if (!line.starts_with(kRectStart) || !line.ends_with("\"/>"))
        return {};
    std::string_view rest = line.substr(kRectStart.size());
    std::string values[4];
    constexpr std::string_view kNext[] = {"\" y=\"", "\" width=\"", "\" height=\"", "\"/>"};
    for (int i = 0; i < 4; ++i) {
        const std::size_t end = rest.find(kNext[i]);
        if (end == std::string_view::npos)
            return {};
        values[i] = std::string(rest.substr(0, end));
        if (values[i].empty() || values[i].find_first_not_of("0123456789.-") != std::string::npos)
            return {};
        rest = rest.substr(end + kNext[i].size());
    }
    if (!rest.empty() || values[2].starts_with('-') || values[3].starts_with('-'))
        return {};
    return "M" + values[0] + ' ' + values[1] + 'h' + values[2] + 'v' + values[3] + "h-" + values[2] + 'z';
}

// A group's content with each run of polylines as one path.
std::string JoinPolylines(std::string_view content) {
    std::string result;
    std::string path;
    std::string rects;
    long penX = 0;
    long penY = 0;
    const auto flush = [&] {
        if (!path.empty())
            result += "<path vector-effect=\"non-scaling-stroke\" d=\"M0 0" + path + "\"/>\n";
        path.clear();
        penX = 0;
        penY = 0;
        if (!rects.empty())
            // Every rectangle turns the same way: under the non-zero rule overlaps stay filled.
            result += "<path fill-rule=\"nonzero\" d=\"" + rects + "\"/>\n";
        rects.clear();
    };
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t lineEnd = content.find('\n', at);
        if (lineEnd == std::string_view::npos)
            lineEnd = content.size();
        const std::string_view line = content.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (line.starts_with(kPolylineStart) && line.ends_with(kPolylineEnd)) {
            const std::string points = PolylinePath(
                line.substr(kPolylineStart.size(), line.size() - kPolylineStart.size() - kPolylineEnd.size()),
                penX, penY);
            if (!points.empty()) {
                if (!rects.empty())
                    flush();
                path += points;
                continue;
            }
        }
        if (const std::string rect = RectPath(line); !rect.empty()) {
            if (!path.empty())
                flush();
            rects += rect;
            continue;
        }
        if (line.empty())
            continue;
        flush();
        // A text element spans two lines; it is kept whole.
        std::string kept(line);
        if (line.starts_with("<text") && at < content.size()) {
            const std::size_t textEnd = content.find('\n', at);
            kept += '\n';
            kept +=
                content.substr(at, textEnd == std::string_view::npos ? content.size() - at : textEnd - at);
            at = textEnd == std::string_view::npos ? content.size() : textEnd + 1;
            kept = TextLine(kept);
        }
        result += kept + '\n';
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
        const std::size_t end =
            headerEnd == std::string_view::npos ? headerEnd : svg.find(kGroupEnd, headerEnd);
        if (end == std::string_view::npos)
            return std::string(svg);
        const std::string_view content = svg.substr(headerEnd + 1, end - headerEnd - 1);
        // A nested group would end where this search does not look; keep such a picture as it is.
        if (content.find(kGroupStart) != std::string_view::npos)
            return std::string(svg);
        std::string attributes = GroupAttributes(svg.substr(start + 1, headerEnd - start - 1),
                                                 svg.substr(outer, outerEnd - outer));
        if (!groups.empty() && groups.back().attributes == attributes)
            groups.back().content += content;
        else
            groups.push_back({std::move(attributes), std::string(content)});
        at = end + kGroupEnd.size();
    }
    std::string compact(svg.substr(root, rootEnd + 1 - root));
    compact += '\n';
    // The outer group keeps its attributes whole: the inner ones inherit from it.
    compact += "<" + std::string(svg.substr(outer + 1, outerEnd - outer - 1)) + ">\n";
    for (const Group& group : groups)
        compact += "<" + group.attributes + ">\n" + JoinPolylines(group.content) + "</g>\n";
    compact += svg.substr(at, close - at);
    return compact + "</svg>\n";
}
