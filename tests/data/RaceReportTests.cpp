#include "RaceBuilder.h"
#include "data/RaceReport.h"
#include "data/Sha256.h"
#include "data/SvgText.h"

#include <gtest/gtest.h>
#include <iomanip>
#include <regex>
#include <sstream>

namespace {

std::string HexOf(const std::array<std::uint8_t, 32>& digest) {
    std::ostringstream hex;
    for (const int b : digest)
        hex << std::hex << std::setw(2) << std::setfill('0') << b;
    return hex.str();
}

// The published test vectors: empty, one block, and a message whose padding takes a second block.
TEST(Sha256, MatchesPublishedVectors) {
    EXPECT_EQ(HexOf(Sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HexOf(Sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexOf(Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Sha256, Base64PadsShortGroups) {
    const std::uint8_t man[] = {'M', 'a', 'n'};
    EXPECT_EQ(Base64(man, 3), "TWFu");
    EXPECT_EQ(Base64(man, 2), "TWE=");
    EXPECT_EQ(Base64(man, 1), "TQ==");
    const auto digest = Sha256("abc");
    EXPECT_EQ(Base64(digest.data(), digest.size()), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
}

class HostileRace : public ::testing::Test {
protected:
    void SetUp() override {
        race.trackName = "<b>Track</b>";
        race.lapCount = 2;
        AppendDriver(race, MakeDriver(1, "<script>alert(1)</script>", {{90000, 90000}, {180000, 90000}}));
        AppendDriver(race,
                     MakeDriver(2, "\"><img src=x onerror=alert(1)>", {{91000, 91000}, {182000, 91000}}));
        AppendDriver(race, MakeDriver(3, "Ren\xE9", {{92000, 92000}, {184000, 92000}}));
        ReportChart chart{
            "Gap chart",
            "<?xml version=\"1.0\"?>\n<svg viewBox=\"0 0 10 10\"><g fill=\"none\">\n</g>\n</svg>",
            {{0, {{1, 2, 0, false}, {3, 4, 1, true}}}}};
        std::ostringstream out;
        WriteRaceReport(out, race, "", std::span(&chart, 1));
        page = out.str();
    }

    static std::size_t Count(const std::string& text, const std::string& part) {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }

    RaceData race;
    std::string page;
};

TEST_F(HostileRace, LapTableHasACellForEachLapOfEachDriver) {
    const std::size_t table = page.find("id=\"lap-by-lap\"");
    ASSERT_NE(table, std::string::npos);
    const std::string laps = page.substr(table, page.find("</table>", table) - table);
    EXPECT_EQ(Count(laps, "<th class=\"n\">"), 2u);
    EXPECT_EQ(Count(laps, "<td>"), 6u);
    EXPECT_NE(page.find("<td>Laps 1-2</td>"), std::string::npos) << "the leader's run of laps";
}

TEST_F(HostileRace, OneDriverLeftIsStillARace) {
    race.RemoveDriver(2);
    race.RemoveDriver(1);
    std::ostringstream out;
    WriteRaceReport(out, race, "", {});
    EXPECT_EQ(out.str().find("No drivers."), std::string::npos);
}

// Every markup character is escaped, so names are text in the tables and the read-out data.
TEST_F(HostileRace, NamesAreTextInTablesAndData) {
    EXPECT_EQ(HtmlEscaped(R"(<a href="x" title='y'>&amp;</a>)"),
              "&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(Count(page, "<script"), 2u); // the data block and the page's own script
    EXPECT_EQ(Count(page, "</script"), 2u);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(page.find("<h1>&lt;b&gt;Track&lt;/b&gt;, 2 laps</h1>"), std::string::npos);
    // The read-out data keeps the names as JSON escapes, none of them markup.
    EXPECT_NE(page.find(R"("\u003cscript\u003ealert(1)\u003c/script\u003e    1")"), std::string::npos);
    // Names from the files are Latin-1.
    EXPECT_NE(page.find("Ren\xC3\xA9</span>"), std::string::npos);
    EXPECT_NE(page.find(R"("Ren\u00e9    3")"), std::string::npos);
}

TEST_F(HostileRace, PageLoadsNothingAndAllowsOnlyItsOwnScriptAndStyle) {
    EXPECT_NE(page.find("content=\"default-src 'none'; script-src 'sha256-"), std::string::npos);
    EXPECT_EQ(Count(page, "http"), 1u);
    EXPECT_EQ(page.find(" style="), std::string::npos);
    // No tag has an event-handler attribute.
    EXPECT_FALSE(std::regex_search(page, std::regex("<[^>]*\\son[a-z]+=")));
}

TEST_F(HostileRace, ChartIsInlinedWithItsCurvesOverIt) {
    EXPECT_EQ(page.find("<?xml"), std::string::npos);
    EXPECT_NE(page.find(".c0{color:#000000}"), std::string::npos) << "the first driver's colour";
    EXPECT_NE(page.find("<svg class=\"chart\" data-chart=\"0\" role=\"img\" viewBox=\"0 0 10 10\">"),
              std::string::npos);
    EXPECT_NE(page.find("<g class=\"hl\"><path data-d=\"0\" class=\"c0\" d=\"M1 2L3 4\"/></g></svg>"),
              std::string::npos);
    EXPECT_NE(page.find(R"("charts":[[[0,[1,2,-1,3,4,2]]]])"), std::string::npos);
    // Each lap's read-out, one after another in the driver's list.
    EXPECT_NE(page.find(R"("readouts":[["11  P1/3\u000a20h01m30.000s\u000a01:30.000\u000a6",)"
                        R"("12  P1/3\u000a20h03m00.000s\u000a01:30.000\u000a6"],[)"),
              std::string::npos);
}

TEST(CompactSvg, JoinsGroupsAndLinesWithoutChangingTheDrawing) {
    const std::string qt =
        "<?xml version=\"1.0\"?>\n<svg viewBox=\"0 0 9 9\">\n<title>t</title>\n"
        "<g fill=\"none\" stroke=\"black\" stroke-linecap=\"square\" >\n\n"
        "<g fill=\"none\" stroke=\"#808080\" stroke-opacity=\"1\" stroke-linecap=\"square\" "
        "transform=\"matrix(1,0,0,1,0,0)\"\nfont-family=\"Arial\" font-size=\"10\" \n>\n"
        "<polyline fill=\"none\" vector-effect=\"non-scaling-stroke\" points=\"1,2 3,2 \" />\n"
        "</g>\n\n"
        "<g fill=\"none\" stroke=\"#808080\" stroke-opacity=\"1\" stroke-linecap=\"square\" "
        "transform=\"matrix(1,0,0,1,0,0)\"\nfont-family=\"Arial\" font-size=\"12\" \n>\n"
        "<polyline fill=\"none\" vector-effect=\"non-scaling-stroke\" points=\"3,5 4,6 \" />\n"
        "</g>\n\n"
        "<g fill=\"#000000\" fill-opacity=\"1\" stroke=\"none\" >\n"
        "<rect x=\"0\" y=\"0\" width=\"9\" height=\"9\"/>\n<rect x=\"1.5\" y=\"2\" width=\"1\" "
        "height=\"1\"/>\n"
        "<text fill=\"#c0dcc0\" fill-opacity=\"1\" x=\"0\" y=\"8\" font-weight=\"400\" \n > 01</text>\n"
        "</g>\n</g>\n</svg>\n";
    EXPECT_EQ(CompactSvg(qt),
              "<svg viewBox=\"0 0 9 9\">\n"
              "<g fill=\"none\" stroke=\"black\" stroke-linecap=\"square\" >\n"
              "<g fill=\"none\" stroke=\"#808080\">\n"
              "<path vector-effect=\"non-scaling-stroke\" d=\"M0 0m1 2l2 0m0 3l1 1\"/>\n</g>\n"
              "<g fill=\"#000000\" stroke=\"none\">\n"
              "<path fill-rule=\"nonzero\" d=\"M0 0h9v9h-9zM1.5 2h1v1h-1z\"/>\n"
              "<text fill=\"#c0dcc0\" x=\"0\" y=\"8\"> 01</text>\n</g>\n"
              "\n</g>\n</svg>\n");
}

TEST(CompactSvg, KeepsPicturesOfAnotherShapeAsTheyAre) {
    const std::string nested = "<svg><g a=\"1\"><g b=\"2\"><g c=\"3\"></g></g></g></svg>";
    EXPECT_EQ(CompactSvg(nested), nested);
    EXPECT_EQ(CompactSvg("not a picture"), "not a picture");
    // A group's first line may start right after its header.
    const std::string adjoining =
        "<svg><g o=\"1\">\n<g a=\"1\"><rect x=\"1\" y=\"1\" width=\"1\" height=\"1\"/></g></g></svg>";
    EXPECT_NE(CompactSvg(adjoining).find("M1 1h1v1h-1z"), std::string::npos);
    // Lines that only look like rectangles stay as they are.
    for (const std::string odd : {"<rect x=\"a\" y=\"1\" width=\"1\" height=\"1\"/>",
                                  "<text x=\"1\" y=\"1\" width=\"1\" height=\"1\"/>"})
        EXPECT_NE(CompactSvg("<svg><g o=\"1\">\n<g a=\"1\">\n" + odd + "\n</g>\n</g></svg>").find(odd),
                  std::string::npos);
}

} // namespace
