#include "text/Texts.h"

#include <algorithm>
#include <unordered_map>

#include "text/Charset.h"
#include "text/GB2Big5.h"

namespace karvena {

bool ChineseGB = true;
bool ChineseBig5 = false;

void SetLanguageFlags(TLanguage language) {
    ChineseBig5 = language == TLanguage::TraditionalChinese;
    ChineseGB = language == TLanguage::SimplifiedChinese;
}

TLanguage CurrentLanguage() {
    if (ChineseBig5) return TLanguage::TraditionalChinese;
    return ChineseGB ? TLanguage::SimplifiedChinese : TLanguage::English;
}

namespace {
bool ParseLanguage(const std::string& value, TLanguage& language) {
    if (value == "en")
        language = TLanguage::English;
    else if (value == "zh_CN")
        language = TLanguage::SimplifiedChinese;
    else if (value == "zh_TW")
        language = TLanguage::TraditionalChinese;
    else
        return false;
    return true;
}
} // namespace

TLanguage LanguageFromSetting(const std::string& setting, const char* environment) {
    TLanguage language = TLanguage::SimplifiedChinese;
    if (environment && ParseLanguage(environment, language)) return language;
    if (ParseLanguage(setting, language)) return language;
    return TLanguage::SimplifiedChinese;
}

std::string LanguageSetting(TLanguage language) {
    switch (language) {
    case TLanguage::English:
        return "en";
    case TLanguage::SimplifiedChinese:
        return "zh_CN";
    case TLanguage::TraditionalChinese:
        return "zh_TW";
    }
    return "zh_CN";
}

std::string ToLocalText(const std::string& chinese) {
    if (!ChineseBig5) return chinese;
    // Character by character, so one character outside GB2312 does not stop the rest.
    std::string out;
    size_t i = 0;
    while (i < chinese.size()) {
        const unsigned char c = static_cast<unsigned char>(chinese[i]);
        const size_t length = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 1;
        const std::string character = chinese.substr(i, length);
        i += length;
        if (length == 1) {
            out += character;
            continue;
        }
        const auto gb = Recode(character, "UTF-8", "GB2312");
        const auto big5 =
            gb ? Recode(ConvertGbBig5(*gb, TConvertDirection::GbToBig5), "BIG5", "UTF-8")
               : std::nullopt;
        out += big5 ? *big5 : character;
    }
    return out;
}

const std::vector<TTextEntry>& AllTexts() {
    static const std::vector<TTextEntry> texts = {
        // The window and the product.
        {"MainCaption", "Karvena", "Karvena 围棋死活训练"},
        {"ProductTitle", "Karvena — life and death problems", "Karvena 围棋死活训练"},
        // Menus and their items.
        {"miFile1", "&File", "文件(&F)"},
        {"miOrder1", "&Order of ending game", "官子次序(&O)"},
        {"miBasic1", "Basic", "基本死活(&S)"},
        {"miBeginner1", "Beginner", "初级(&B)"},
        {"miIntermediate1", "Intermediate", "中级(&I)"},
        {"miAdvanced1", "Advanced", "高级(&A)"},
        {"miCustom1", "Bonus", "其它(&C)"},
        {"miAll1", "A&ll", "全部(&L)"},
        {"miClearallsolvedflags1", "Clear all solved flags", "清除所有已解答标志(&C)"},
        {"miExit1", "Exit", "退出(&X)"},
        // The player's own problems.
        {"miImport1", "&Import problems...", "导入题目(&I)..."},
        {"miExportStatistics1", "Export &statistics...", "导出统计(&S)..."},
        {"ExportStatisticsFailed", "The statistics could not be written: ", "统计无法写入: "},
        {"LabelRating", "Rating: ", "等级分: "},
        // Finding one's place.
        {"BlackToPlay", "Black to play", "黑先"},
        {"miOneStepHint1", "&One-step hint (the move at once)", "一步提示 (直接给出着法)(&O)"},
        {"TipCounts", "solved: %1, failures: %2", "解出: %1, 失败: %2"},
        {"TipNoLevel", "no level", "无级别"},
        {"WhiteToPlay", "White to play", "白先"},
        {"CaptionOfGroup", "%1 — %2", "%1 — %2"},
        {"ReviewName", "Review", "复习"},
        {"IndexPageOf", "Page %1 of %2", "第 %1/%2 页"},
        // The statistics page.
        {"miStatistics1", "S&tatistics", "统计(&T)"},
        {"StatisticsNothingYet", "Nothing to show yet: solve a few problems and your progress appears here.",
         "还没有可显示的内容：做几道题后，这里会显示你的进步。"},
        {"StatisticsCurrentStreak", "Current streak: ", "当前连续: "},
        {"StatisticsBestStreak", "Best streak: ", "最长连续: "},
        {"StatisticsOneDay", "%1 day", "%1 天"},
        {"StatisticsDays", "%1 days", "%1 天"},
        {"ChartSolvedPerDay", "Problems solved per day (last 90 days)", "每日解题数 (最近 90 天)"},
        {"ChartRating", "Rating", "等级分"},
        {"ChartFirstAttempts", "First attempts", "首次尝试"},
        {"ChartFirstClean", "First attempts solved cleanly", "首次无误解答率"},
        {"ChartCleanTime", "Average clean solve (seconds)", "无误解答平均用时 (秒)"},
        {"ChartSolvedTotal", "Solved / total", "已解 / 总数"},
        {"ChartSolved", "Solved", "已解"},
        {"ChartNotYetSolved", "Not yet solved", "未解"},
        // Timed sets.
        {"miTimedSet1", "&Timed set...", "限时练习(&T)..."},
        {"miLeaveTimedSet1", "&Leave timed set", "退出限时练习(&L)"},
        {"TimedSetTitle", "Timed set", "限时练习"},
        {"TimedSetGroup", "Group:", "题组:"},
        {"TimedSetSize", "Problems:", "题数:"},
        {"TimedSetPerProblem", "Seconds for each problem", "每题限时 (秒)"},
        {"TimedSetWholeSet", "Seconds for the whole set", "全组限时 (秒)"},
        {"TimedSetNoProblems", "The group %1 has no problems to play.", "题组 %1 没有可做的题目。"},
        {"TimedCountdown", "Time left: %1", "剩余时间: %1"},
        {"TimedProblemOf", "Problem %1 of %2", "第 %1 题，共 %2 题"},
        {"TimeIsUp", "Time is up", "时间到"},
        {"TimedPassed", "Passed: %1 of %2 solved", "通过: 解出 %1/%2"},
        {"TimedNotPassed", "Not passed: %1 of %2 solved", "未通过: 解出 %1/%2"},
        {"TimedSolved", "Solved", "解出"},
        {"TimedTimedOut", "Out of time", "超时"},
        {"TimedLeft", "Left", "中途退出"},
        {"TimedNotReached", "Not reached", "未做"},
        {"TimedProblem", "Problem", "题目"},
        {"TimedResult", "Result", "结果"},
        {"TimedTime", "Time", "用时"},
        {"TimedBack", "Back to the index", "返回目录"},
        {"miRemoveGroup1", "&Remove imported group", "删除导入的题组(&R)"},
        {"ImportTitle", "Import problems", "导入题目"},
        {"ImportWhat", "Import a whole folder (with the folders below it), or chosen SGF files?",
         "导入整个文件夹(包括其中的子文件夹)，还是选定的 SGF 文件？"},
        {"ImportFolder", "&Folder...", "文件夹(&F)..."},
        {"ImportFiles", "SGF &files...", "SGF 文件(&F)..."},
        {"ImportReading", "Reading SGF files...", "正在读取 SGF 文件..."},
        {"ImportCancelled", "The import was cancelled; nothing was added.", "导入已取消，没有添加任何题目。"},
        {"ImportFailed", "Nothing was imported: %1", "没有导入任何题目: %1"},
        {"ImportAdded", "%1: %2 problems", "%1: %2 题"},
        {"ImportAddedOne", "%1: 1 problem", "%1: 1 题"},
        {"ImportNothingNew", "No new problems.", "没有新题目。"},
        {"ImportAlreadyThere", "%1 problems were already in the collection.", "%1 题已在题库中。"},
        {"ImportSkipped", "Not imported:", "未导入:"},
        {"ImportWarnings", "Left out of imported problems:", "导入的题目中略去的部分:"},
        {"ImportOpenGroup", "Open the group %1 now?", "现在打开题组 %1 吗？"},
        {"RemoveGroupQuestion", "Remove the imported group %1 and its %2 problems?",
         "删除导入的题组 %1 及其 %2 道题吗？"},
        {"GroupProgress", "%1/%2 solved", "已解 %1/%2"},
        {"LabelBestTime", "best clean solve: ", "最快无误解答: "},
        {"LabelAttemptTime", "time: ", "用时: "},
        {"ReviewItem", "Review (%1 due)", "复习 (%1 题到期)"},
        {"ReviewItemTomorrow", "Review (%1 due, %2 tomorrow)", "复习 (%1 题到期，明天 %2 题)"},
        {"miReviewAhead1", "Review &ahead", "提前复习(&A)"},
        {"ResetSolvedCaption", "Reset solved flag", "重置已解答标志"},
        {"ResetSolvedQuestion", "Reset the solved flag of this problem?", "重置本题的已解答标志吗？"},
        {"miShowHintWindows1", "Show the &hint windows again", "重新显示提示窗口(&H)"},
        {"RemoveGroupFailed", "The group could not be removed: %1", "无法删除题组: %1"},
        {"miView1", "&View", "查看(&V)"},
        {"miZoomin1", "Zoom &In", "放大(&I)"},
        {"miZoomout1", "Zoom &Out", "缩小(&O)"},
        {"miProblemIndex1", "&Index", "索引(&I)"},
        {"miSolveIt1", "S&olve it", "解题(&O)"},
        {"miFirstpage1", "&First page", "第一页(&F)"},
        {"miPriorpage1", "&Prior page", "上一页(&P)"},
        {"miNextpage1", "&Next page", "下一页(&N)"},
        {"miLastpage1", "&Last page", "最后一页(&L)"},
        {"miFirstproblem1", "&First problem", "第一题(&F)"},
        {"miPriorproblem1", "&Prior problem", "上一题"},
        {"miNextproblem1", "&Next problem", "下一题"},
        {"miLastproblem1", "&Last problem", "最后一题(&L)"},
        {"miFind1", "Fin&d...", "查找(&F)"},
        {"miSolve1", "&Solve", "解题(&S)"},
        {"miStudy1", "&Try", "研究"},
        {"miStopStudy1", "Sto&p try", "停止研究"},
        {"miResult1", "&Result", "正解结果"},
        {"miNextVOfComputer1", "&Next variation or retry after fail", "下一变化或重试"},
        {"miSolveAgain1", "Solve &again", "重做"},
        {"miBack1", "&Back", "退一步"},
        {"miHint1", "&Hint", "提示"},
        {"miWhatlevelImat1", "What level I'm at", "我的级别(&L)"},
        {"btnUndo", "&Undo", "退一步(&U)"},
        {"btnNextMove", "&Next move", "下一步(&N)"},
        {"btn1", "&Restart", "从头开始(&1)"},
        {"btnStopStudy2", "&Stop", "停止研究 F10"},
        {"Resetsolvedflag1", "Reset solved flag", "清除解答标志"},
        {"miOptions1", "&Options", "选项(&O)"},
        {"miSilent1", "&Silent", "无声(&S)"},
        {"miHintallowed1", "Hint allowed", "允许看答案(&H)"},
        {"miDisplaynumbers1", "Display numbers if possible", "显示形成过程(如果可能)(&N)"},
        {"NextproblemAutomaticallyWhenSolved1", "Next Problem &Automatically when solved",
         "成功后自动进入下一题(&A)"},
        {"miTakebackautomatically1", "Takeback automatically ", "自动回退(&A)"},
        {"miDelaybeforetakebackautomatically1",
         "Delay time (seconds) before takeback automatically", "自动回退延迟时间(秒)"},
        {"TrackBar1", "Delay time (seconds) before takeback automatically", "自动回退延迟时间(秒)"},
        {"miBestCounterMoveOnly1", "Computer always makes best counter-move", "计算机总是正应(&M)"},
        {"miComputerdonotplaybadmove1", "Computer do not play bad move(marked with ?)",
         "计算机不走坏棋(有?标记者)(&M)"},
        {"miRandomOrientation1", "Random &orientation", "随机旋转镜像(&R)"},
        {"miRandomColours1", "Random &colours", "随机交换黑白(&C)"},
        {"miJudgeMoves1", "&Judge moves the answer does not list", "判断解答未列出的着法(&J)"},
        {"misgf1", "sgf &board", "SG&F格式棋盘显示"},
        {"miPlainbackground1", "Plain back&ground", "朴素背景(&G)"},
        {"miSpeed1", "S&peed", "速度(&S)"},
        {"miStudyAtNewWindow1", "Study at &new window", "在新开窗口中研究(&N)"},
        {"miN11", "1(Quick)", "&1 (快)"},
        {"miN101", "10(Slow)", "1&0 (慢)"},
        {"miHelp1", "&Help", "帮助(&H)"},
        {"miGuide1", "Guide", "指南(&G)"},
        {"miAbout1", "About...", "关于(&A)"},
        // Tool-button hints.
        {"btnOpen", "Open", "文件"},
        {"btnProblemIndex", "Index", "索引"},
        {"btnSolveIt", "Solve it", "解题"},
        {"btnFirstPage", "First page", "第一页"},
        {"btnPriorPage", "Prior page", "上一页"},
        {"btnNextPage", "Next page", "下一页"},
        {"btnLastPage", "Last page", "最后一页"},
        {"btnFirstProblem", "First problem", "第一题"},
        {"btnPriorProblem", "Prior problem (UP)", "上一题 (Up)"},
        {"btnNextProblem", "Next problem (DOWN)", "下一题 (Down)"},
        {"btnLastProblem", "Last problem", "最后一题"},
        {"btnSolveAgain1", "Solve again (Esc,Home)", "重做 (Esc,Home)"},
        {"btnBack1", "Back (Left)", "回退一步 (左箭头)"},
        {"btnNextVofComputer", "Next variation or retry (PgDn)", "下一变化或重试 (PgDn)"},
        {"btnResult1", "Result (End)", "正解结果 (End)"},
        {"btnHint1", "Hint (Right)", "提示 (右箭头)"},
        {"btnStudy1", "Try (F9)", "研究 (F9)"},
        {"btnStopStudy1", "Stop try (F10)", "停止研究 (F10)"},
        // The counters of the problem page; the number follows the prefix directly.
        {"LabelSuccessCount", "Solved", "已解答"},
        {"LabelFailureCount", "Failure count: ", "失败次数: "},
        {"LabelHint0Count", "Hint(result) count: ", "看结果次数: "},
        {"LabelHint1Count", "Hint count: ", "提示次数: "},
        {"LabelTakebackCount", "Takeback count: ", "悔棋次数: "},
        {"LabelStudyCount", "trial count: ", "研究次数: "},
        {"LabelStdResult", "No. ", "题号: "},
        // The stated result of a problem.
        {"StatedDies", "dies", "死"},
        {"StatedLives", "lives", "活"},
        {"StatedKoToKill", "ko", "劫杀"},
        {"StatedKoToLive", "ko", "劫活"},
        // The level estimate; %1 and %2 are numbers.
        {"LevelTooFew", "Now I can't tell your level because you solved too few problems yourself.",
         "无法判断您的大概水平，因为解答的题目数量不足"},
        {"LevelTooEasy", "I can't tell your level because the problems you solved are too easy.",
         "无法判断您的大概水平，因为解答的题目数量不足"},
        {"LevelKyu", "Your level is about %1k to %2k.", "你的段位大概在 %1k 到 %2k 之间"},
        {"Level39", "Your level is about 2k to 1d.", "你的段位大概在2k到1d之间"},
        {"Level40", "Your level is about 1k to 2d.", "你的段位大概在1k到2d之间"},
        {"LevelDan", "Your level is about %1d to %2d.", "你的段位大概在 %1d 到 %2d 之间"},
        {"Level46", "You are close to professional players. Your level is higher than 5d.",
         "您的水平相当高，恐怕至少有5d吧"},
        // The solve loop.
        {"Success", "Success", "成功"},
        {"SuccessKo", "Success — the answer is a ko", "成功——本题的答案是劫"},
        {"Failure", "Failure", "失败"},
        {"NoticeBadMove", "Bad move", "坏着"},
        {"NoticeNotBest", "Not best", "非最佳"},
        {"NoticeSometimes", "Sometimes", "有时"},
        {"NoticeAlsoWorks", "This also works", "这样也行"},
        {"NoticeLeadsToYourKo",
         "This leads to a ko you take first, which the problem does not count as its answer",
         "此着成劫（你先提劫），本题不以劫为正解"},
        {"NoticeLeadsToTheirKo",
         "This leads to a ko your opponent takes first, which the problem does not count as its answer",
         "此着成劫（对方先提劫），本题不以劫为正解"},
        {"NoticeNotAnAnswer", "This move is not among the problem's answers", "此着不在本题的解答之中"},
        {"Thinking", "Thinking…", "思考中…"},
        {"DataError1", "Data error(1): ", "数据错误(1): "},
        {"DataError2", "Data error(2): ", "数据错误(2): "},
        {"DataError3", "Data error(3): ", "数据错误(3): "},
        {"DataCorrupted", "Data corrupted", "数据损坏"},
        {"RetryError", "Error", "错误"},
        {"HintWindow1", "Press PgDn key to try the next variation", "按下页(PgDn)键到下一变化"},
        {"HintWindow2", "Press PgDn key to retry", "按下页PgDn键回退"},
        {"DelayTitle", "Please input: ", "请输入: "},
        {"DelayPrompt", "Delay time (0-30 seconds) before takeback automatically:             ",
         "自动回退延迟秒数(0-30):             "},
        // The player's progress: where it is kept and when it cannot be.
        {"HistoryNotSaved",
         "Your progress cannot be saved to %1 (%2). The trainer goes on and keeps this session's "
         "counts until it closes; nothing saved before is lost.",
         "无法把练习记录保存到 %1（%2）。程序继续运行，本次的记录保留到关闭为止；以前保存的记录不会丢失。"},
        {"HistoryTakenOver",
         "Your progress was copied from %1 to %2, where it is kept from now on.",
         "练习记录已从 %1 复制到 %2，今后保存在那里。"},
        {"HistoryNotTakenOver",
         "Your earlier progress in %1 could not be copied (%2); it is left as it is.",
         "无法复制 %1 中以前的练习记录（%2）；原文件保持不变。"},
        // The hint lock's dialog and its question.
        {"PasswordTitle", "Set / enter the password", "设置/输入口令"},
        {"PasswordLabel", "Password", "口令"},
        {"PasswordForgot", "Forgot", "忘了"},
        {"PasswordNote", "A simple way to keep children from peeking at the answers",
         "防止孩子偷懒的一个简易办法"},
        {"PasswordOK", "OK", "确认"},
        {"PasswordCancel", "Cancel", "取消"},
        {"PasswordSetLabel", "Password for the hints: ", "设置看答案口令: "},
        {"PasswordAskLabel", "Hints only with the right password: ", "口令正确才允许看答案: "},
        {"PasswordSetTitle", "Set the password", "设置口令"},
        {"PasswordAskTitle", "Password", "口令"},
        {"PasswordForgotCaption", "The password will be cleared", "将清除口令"},
        {"PasswordForgotQuestion", "Have you really forgotten the password?", "真的是忘记了口令吗？"},
        // Clear all solved flags asks first.
        {"ClearAllCaption", "All solved flags will be cleared", "将清除所有解答标志"},
        {"ClearAllQuestion", "Do you really want to clear every solved flag?",
         "真的要清除所有已解答标志吗?"},
        // The study window.
        {"StudyTitle", "Study", "研究"},
        {"StudyTakeBack", "Take back", "退一步"},
        {"StudyNext", "Next move", "下一步"},
        {"StudyBegin", "Begin from 1", "从第一手开始"},
        {"StudyStudy", "Study", "研究"},
        {"StudyRestore", "Restore", "恢复"},
        {"StudyFinish", "Finish", "结束"},
        // The About box and the guide.
        {"AboutProgramLicence",
         "Karvena is free software: you may share and change it under the GNU General Public "
         "License, version 3 or (at your option) any later version. It comes with no warranty.",
         "Karvena 是自由软件：您可以依照 GNU 通用公共许可证第 3 版或（由您选择）任何更新的版本分发和修改它。"
         "本程序不提供任何担保。"},
        {"GuideNoBrowser", "No web browser could be started for the guide. It is at:",
         "无法启动网页浏览器打开指南。指南位于："},
        // The language choice of the Options menu.
        {"miLanguage1", "&Language (at the next start)", "语言(下次启动时生效)(&L)"},
        {"LanguageEnglish", "English", "English"},
        {"LanguageSimplified", "简体中文", "简体中文"},
        {"LanguageTraditional", "繁體中文", "繁體中文"},
    };
    return texts;
}

const TTextEntry* FindText(std::string_view name) {
    static const std::unordered_map<std::string_view, const TTextEntry*> index = [] {
        std::unordered_map<std::string_view, const TTextEntry*> map;
        for (const TTextEntry& entry : AllTexts())
            map.emplace(entry.Name, &entry);
        return map;
    }();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

std::string LocalOf(std::string_view english, std::string_view chinese) {
    if (ChineseGB || ChineseBig5) return ToLocalText(std::string(chinese));
    return std::string(english);
}

std::string Fill(std::string text, const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + values[i].size()))
            text.replace(at, mark.size(), values[i]);
    }
    return text;
}

std::string Tx(std::string_view name) {
    const TTextEntry* entry = FindText(name);
    if (!entry) return std::string(name);
    return LocalOf(entry->English, entry->Chinese);
}

} // namespace karvena
