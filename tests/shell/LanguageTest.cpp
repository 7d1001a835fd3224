// The GB2312/Big5 converter, the text table and the language flags.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "text/Charset.h"
#include "text/GB2Big5.h"
#include "text/Texts.h"

namespace karvena {
namespace {

std::string Gb(const std::string& utf8) {
    return *Recode(utf8, "UTF-8", "GB2312");
}
std::string Big5(const std::string& utf8) {
    return *Recode(utf8, "UTF-8", "BIG5");
}

TEST(GB2Big5, WalkRules) {
    const std::string guo = Gb("国"); // B9 FA
    const std::string guoBig5 = Big5("國");
    const struct {
        const char* name;
        std::string in;
        TConvertDirection direction;
        std::string out;
    } cases[] = {
        {"empty", "", TConvertDirection::GbToBig5, ""},
        {"one byte", "\xB9", TConvertDirection::GbToBig5, "\xB9"},
        {"ascii", "abc 123", TConvertDirection::GbToBig5, "abc 123"},
        {"ascii and chinese", "A" + guo + "b", TConvertDirection::GbToBig5, "A" + guoBig5 + "b"},
        // 0xB9 then 0x31 ('1'): no pair, both copied; '1' then looked at as a lead.
        {"trail out of range",
         "\xB9"
         "1" +
             guo,
         TConvertDirection::GbToBig5,
         "\xB9"
         "1" +
             guoBig5},
        // 0xB9 0xB9 0xFA: the first pair converts (B9 B9), FA is a lone last byte.
        {"lone lead at the end", guo + "\xB9", TConvertDirection::GbToBig5, guoBig5 + "\xB9"},
        {"trail 0xFF is no trail", "\xB9\xFF", TConvertDirection::GbToBig5, "\xB9\xFF"},
        {"big5 to gb", "x" + guoBig5, TConvertDirection::Big5ToGb, "x" + guo},
        {"big5 lead beyond 0xF9", "\xFA\xA1", TConvertDirection::Big5ToGb, "\xFA\xA1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertGbBig5(c.in, c.direction), c.out) << c.name;
}

TEST(GB2Big5, KnownPairsBothWays) {
    const std::pair<const char*, const char*> pairs[] = {
        {"国", "國"},     {"际", "際"},
        {"学", "學"},     {"题", "題"},
        {"级", "級"},     {"败", "敗"},
        {"黑", "黑"},     {"棋", "棋"},
        {"死活", "死活"}, {"结束, 黑方获胜", "結束, 黑方獲勝"},
    };
    for (const auto& [simplified, traditional] : pairs) {
        EXPECT_EQ(ConvertGbBig5(Gb(simplified), TConvertDirection::GbToBig5), Big5(traditional))
            << simplified;
        EXPECT_EQ(ConvertGbBig5(Big5(traditional), TConvertDirection::Big5ToGb), Gb(simplified))
            << traditional;
    }
}

TEST(GB2Big5, ConverterObjectsKeepBothForms) {
    TGB_Big5 pair;
    pair.SetGB(Gb("学"));
    EXPECT_EQ(pair.Big5(), Big5("學"));
    pair.SetBig5(Big5("際"));
    EXPECT_EQ(pair.GB(), Gb("际"));
    TGB2Big5 component;
    component.SetsGB(Gb("题"));
    EXPECT_EQ(component.sTW(), Big5("題"));
    EXPECT_EQ(component.GbToBig5(Gb("级")), Big5("級"));
    EXPECT_EQ(component.sGB(), Gb("题")) << "the direct conversion leaves sGB alone";
}

class Flags : public ::testing::Test {
protected:
    void TearDown() override { SetLanguageFlags(TLanguage::SimplifiedChinese); }
};

TEST_F(Flags, SimplifiedChineseByDefault) {
    EXPECT_TRUE(ChineseGB);
    EXPECT_FALSE(ChineseBig5);
    EXPECT_EQ(LanguageFromSetting("", nullptr), TLanguage::SimplifiedChinese);
    EXPECT_EQ(LanguageFromSetting("klingon", nullptr), TLanguage::SimplifiedChinese);
    EXPECT_EQ(LanguageFromSetting("en", nullptr), TLanguage::English);
    EXPECT_EQ(LanguageFromSetting("en", "zh_TW"), TLanguage::TraditionalChinese)
        << "the environment wins";
    EXPECT_EQ(LanguageFromSetting("zh_TW", "bad"), TLanguage::TraditionalChinese);
    EXPECT_EQ(LanguageSetting(TLanguage::English), "en");
}

TEST_F(Flags, TextsFollowTheLanguage) {
    SetLanguageFlags(TLanguage::English);
    EXPECT_EQ(Tx("miFile1"), "&File");
    SetLanguageFlags(TLanguage::SimplifiedChinese);
    EXPECT_EQ(Tx("miFile1"), "文件(&F)");
    EXPECT_EQ(Tx("btnBack1"), "回退一步 (左箭头)");
    SetLanguageFlags(TLanguage::TraditionalChinese);
    EXPECT_EQ(Tx("miFile1"), "文件(&F)");
    EXPECT_EQ(Tx("btnBack1"), "回退一步 (左箭頭)");
    EXPECT_EQ(Tx("miStudyAtNewWindow1"), "在新開窗口中研究(&N)");
    EXPECT_EQ(ToLocalText("题 ☃ 级"), "題 ☃ 級") << "a character outside GB2312 stays as it is";
    EXPECT_EQ(Tx("NoSuchText"), "NoSuchText");
}

// The hint windows' labels, word for word.
TEST_F(Flags, TheHintWindowsSayWhatPgDnDoes) {
    const struct {
        TLanguage language;
        const char *window1, *window2;
    } cases[] = {
        {TLanguage::English, "Press PgDn key to try the next variation", "Press PgDn key to retry"},
        {TLanguage::SimplifiedChinese, "按下页(PgDn)键到下一变化", "按下页PgDn键回退"},
        {TLanguage::TraditionalChinese, "按下頁(PgDn)鍵到下一變化", "按下頁PgDn鍵回退"},
    };
    for (const auto& c : cases) {
        SetLanguageFlags(c.language);
        EXPECT_EQ(Tx("HintWindow1"), c.window1);
        EXPECT_EQ(Tx("HintWindow2"), c.window2);
    }
}

TEST(Texts, EveryCaptionAndHintInBothLanguages) {
    const char* names[] = {
        "miFile1",
        "miBasic1",
        "miBeginner1",
        "miIntermediate1",
        "miAdvanced1",
        "miCustom1",
        "miClearallsolvedflags1",
        "miExit1",
        "miView1",
        "miZoomin1",
        "miZoomout1",
        "miProblemIndex1",
        "miSolveIt1",
        "miFirstpage1",
        "miPriorpage1",
        "miNextpage1",
        "miLastpage1",
        "miFirstproblem1",
        "miPriorproblem1",
        "miNextproblem1",
        "miLastproblem1",
        "miFind1",
        "miSolve1",
        "miStudy1",
        "miStopStudy1",
        "miResult1",
        "miNextVOfComputer1",
        "miSolveAgain1",
        "miBack1",
        "miHint1",
        "miWhatlevelImat1",
        "btnUndo",
        "btnNextMove",
        "btn1",
        "btnStopStudy2",
        "Resetsolvedflag1",
        "miOptions1",
        "miSilent1",
        "miHintallowed1",
        "miDisplaynumbers1",
        "NextproblemAutomaticallyWhenSolved1",
        "miTakebackautomatically1",
        "miDelaybeforetakebackautomatically1",
        "TrackBar1",
        "miBestCounterMoveOnly1",
        "miComputerdonotplaybadmove1",
        "misgf1",
        "miPlainbackground1",
        "miSpeed1",
        "miStudyAtNewWindow1",
        "miN11",
        "miN101",
        "miHelp1",
        "miGuide1",
        "miAbout1",
        "btnOpen",
        "btnProblemIndex",
        "btnSolveIt",
        "btnFirstPage",
        "btnPriorPage",
        "btnNextPage",
        "btnLastPage",
        "btnFirstProblem",
        "btnPriorProblem",
        "btnNextProblem",
        "btnLastProblem",
        "btnSolveAgain1",
        "btnBack1",
        "btnNextVofComputer",
        "btnResult1",
        "btnHint1",
        "btnStudy1",
        "btnStopStudy1",
        "MainCaption",
    };
    for (const char* name : names) {
        const TTextEntry* entry = FindText(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_FALSE(entry->English.empty()) << name;
        EXPECT_FALSE(entry->Chinese.empty()) << name;
    }
    EXPECT_EQ(FindText("miPriorproblem1")->Chinese, "上一题");
    EXPECT_EQ(FindText("miTakebackautomatically1")->English, "Takeback automatically ");
    // Names are unique.
    std::set<std::string_view> seen;
    for (const TTextEntry& entry : AllTexts())
        EXPECT_TRUE(seen.insert(entry.Name).second) << entry.Name;
}

TEST(GB2Big5, TheGeneratorGivesTheCommittedTablesEveryTime) {
    const std::string root = KARVENA_SOURCE_DIR;
    if (std::system("command -v uconv > /dev/null && command -v python3 > /dev/null") != 0)
        GTEST_SKIP() << "uconv or python3 missing";
    const std::string out = ::testing::TempDir() + "/tables.cpp";
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(std::system(("python3 " + root + "/tools/gen_gb2big5.py > " + out).c_str()), 0);
        std::ifstream generated(out), committed(root + "/src/text/GB2Big5Tables.cpp");
        const std::string a((std::istreambuf_iterator<char>(generated)), {});
        const std::string b((std::istreambuf_iterator<char>(committed)), {});
        EXPECT_EQ(a, b) << "run " << run;
    }
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

// Every Chinese text of the table, shown in each language mode, keeps every character: no
// full-width question mark appears that the text did not have.
TEST(Texts, NoTextLosesACharacterInAnyLanguage) {
    const std::string mark = "？";
    auto marks = [&](const std::string& text) {
        int n = 0;
        for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) ++n;
        return n;
    };
    std::vector<std::string> texts;
    for (const TTextEntry& entry : AllTexts()) texts.emplace_back(entry.Chinese);
    // Texts shown outside the table: node labels and the hint-lock dialog.
    for (const char* extra : {"坏棋", "双活", "非最佳", "设置/输入口令", "防止孩子偷懒的一个简易办法",
                              "设置看答案口令: ", "口令正确才允许看答案: ", "下次启动"})
        texts.emplace_back(extra);
    for (TLanguage language :
         {TLanguage::English, TLanguage::SimplifiedChinese, TLanguage::TraditionalChinese}) {
        SetLanguageFlags(language);
        for (const std::string& text : texts)
            EXPECT_EQ(marks(ToLocalText(text)), marks(text))
                << text << " -> " << ToLocalText(text) << " in mode " << static_cast<int>(language);
    }
    SetLanguageFlags(TLanguage::TraditionalChinese);
    EXPECT_EQ(ToLocalText("下次启动"), "下次啟動");
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

} // namespace
} // namespace karvena
