#include "editor/core/HtmlCatalog.h"

#include "base/core/Translate.h"

namespace orvel {

// clang-format off
static const QList<THtmlCommand> kCommands = {
    {{CMD(ActionHead), 4401, N_("Global"), N_("Html &head"), N_("Html head"), ""}, hkBlock, "<head>", "</head>"},
    {{CMD(ActionTitle), 4402, N_("Global"), N_("&Title"), N_("Html title"), ""}, hkInline, "<title>", "</title>"},
    {{CMD(ActionLink), 4403, N_("Global"), N_("&Link"), N_("Html link"), "Ctrl+L"}, hkSpecial},
    {{CMD(ActionSection), 4404, N_("Global"), N_("&Paragraph"), N_("Insert paragraph<p>"), "Ctrl+P"}, hkInline, "<p>", "</p>"},
    {{CMD(ActionMailto), 4405, N_("Global"), N_("&uncoded mail address"), N_("Insert uncoded mailto link"), ""}, hkSpecial},
    {{CMD(ActionImage), 4406, N_("Global"), N_("Insert &image"), N_("Insert image"), "Ctrl+Alt+I"}, hkSpecial},
    {{CMD(ActionTarget), 4407, N_("Global"), N_("&Anchor"), N_("Local anchor"), "Ctrl+Shift+T"}, hkSpecial},
    {{CMD(ActionGoto), 4408, N_("Global"), N_("&Goto"), N_("Goto anchor"), "Ctrl+Shift+G"}, hkSpecial},
    {{CMD(ActionHorLine), 4409, N_("Global"), N_("Hor. &line"), N_("Insert hor. line <hr>"), "Ctrl+Shift+H"}, hkTextBreak, "<hr>"},
    {{CMD(ActionFixSpace), 4410, N_("Global"), N_("Fix &space"), N_("Insert fix space"), "Ctrl+Space"}, hkText, "&nbsp;", nullptr, 0},
    {{CMD(ActionComment), 4411, N_("Global"), N_("&Comment"), N_("Insert comment"), "Ctrl+Shift+K"}, hkSpecial},
    {{CMD(ActionDiv), 4412, N_("Global"), N_("Text&region"), N_("Text area <div>"), ""}, hkBlock, "<div>", "</div>"},
    {{CMD(ActionEditTag), 4413, N_("Global"), N_("Edit &tag"), N_("Edit tag at cursor"), ""}, hkSpecial},
    {{CMD(ActionBody), 4414, N_("Global"), N_("&Body"), N_("Html body <body>"), ""}, hkBlock, "<body>", "</body>"},
    {{CMD(ActionImageMap), 4415, N_("Global"), N_("&Image map"), N_("Edit image Map"), ""}, hkSpecial},
    {{CMD(ActionMailtoCode), 4416, N_("Global"), N_("&Encoded mail address"), N_("Insert encoded mail address"), ""}, hkSpecial},
    {{CMD(ActionQuote), 4417, N_("Global"), N_("&Citation"), N_("Citation <blockquote>"), ""}, hkBlock, "<blockquote>", "</blockquote>"},
    {{CMD(ActionSpan), 4418, N_("Global"), N_("&Inline container"), N_("Inline container <span>"), ""}, hkInline, "<span>", "</span>"},
    {{CMD(ActionPreviousWin), 4419, N_("Global"), N_("&Previous"), N_("Previous document"), "F7"}, hkSpecial},
    {{CMD(ActionNextWin), 4420, N_("Global"), N_("&Next"), N_("Next document"), "F8"}, hkSpecial},
    {{CMD(ActionNewline), 4951, N_("Wrapping"), N_("New &line"), N_("Insert line break <br>"), "Ctrl+N"}, hkTextBreak, "<br>"},
    {{CMD(ActionNoBreak), 4952, N_("Wrapping"), N_("&No line break"), N_("no line break"), ""}, hkInline, "<nobr>", "</nobr>"},
    {{CMD(ActionSoftHyphen), 4953, N_("Wrapping"), N_("&Soft hyphen"), N_("Soft hyphen"), ""}, hkText, "&shy;", nullptr, 0},
    {{CMD(ActionClear), 4954, N_("Wrapping"), N_("End of &text wrapping"), N_("Cancel text wrapping round image"), ""}, hkTextBreak, "<br clear=\"all\">"},
    {{CMD(ActionHd1), 4701, N_("Fonts"), N_("Size &1"), N_("Header Sz. 1"), "Alt+1"}, hkInline, "<h1>", "</h1>"},
    {{CMD(ActionHd2), 4702, N_("Fonts"), N_("Size &2"), N_("Header Sz. 2"), "Alt+2"}, hkInline, "<h2>", "</h2>"},
    {{CMD(ActionHd3), 4703, N_("Fonts"), N_("Size &3"), N_("Header Sz. 3"), "Alt+3"}, hkInline, "<h3>", "</h3>"},
    {{CMD(ActionHd4), 4704, N_("Fonts"), N_("Size &4"), N_("Header Sz. 4"), "Alt+4"}, hkInline, "<h4>", "</h4>"},
    {{CMD(ActionHd5), 4705, N_("Fonts"), N_("Size &5"), N_("Header Sz. 5"), "Alt+5"}, hkInline, "<h5>", "</h5>"},
    {{CMD(ActionHd6), 4706, N_("Fonts"), N_("Size &6"), N_("Header Sz. 6"), "Alt+6"}, hkInline, "<h6>", "</h6>"},
    {{CMD(ActionTextAlignLeft), 4707, N_("Fonts"), N_("Align &left"), N_("Align at left"), ""}, hkBlock, "<div align=\"left\">", "</div>"},
    {{CMD(ActionTextAlignCenter), 4708, N_("Fonts"), N_("&Centered"), N_("Align centered"), ""}, hkBlock, "<div align=\"center\">", "</div>"},
    {{CMD(ActionTextAlignRight), 4709, N_("Fonts"), N_("Align &right"), N_("Align at right"), ""}, hkBlock, "<div align=\"right\">", "</div>"},
    {{CMD(ActionBig), 4710, N_("Fonts"), N_("&Big"), N_("Bigger font <big>"), ""}, hkInline, "<big>", "</big>"},
    {{CMD(ActionSmall), 4711, N_("Fonts"), N_("&Small"), N_("Smaller font <small>"), ""}, hkInline, "<small>", "</small>"},
    {{CMD(ActionBold), 4712, N_("Fonts"), N_("B&old"), N_("Bold font <b>"), "Ctrl+B"}, hkInline, "<b>", "</b>"},
    {{CMD(ActionItalic), 4713, N_("Fonts"), N_("&Italic"), N_("Italic font <i>"), "Ctrl+I"}, hkInline, "<i>", "</i>"},
    {{CMD(ActionULine), 4714, N_("Fonts"), N_("&Underlined"), N_("Underlined font <u>"), "Ctrl+U"}, hkInline, "<u>", "</u>"},
    {{CMD(ActionPre), 4715, N_("Fonts"), N_("&Preformatted"), N_("Preformatted font <pre>"), "Ctrl+Shift+P"}, hkBlock, "<pre>", "</pre>"},
    {{CMD(ActionTeletype), 4716, N_("Fonts"), N_("&Typewriter"), N_("Typewriter font <tt>"), ""}, hkInline, "<tt>", "</tt>"},
    {{CMD(ActionStrike), 4717, N_("Fonts"), N_("&Striked"), N_("Striked font <strike>"), ""}, hkInline, "<strike>", "</strike>"},
    {{CMD(ActionSub), 4718, N_("Fonts"), N_("&Subscript"), N_("Subscripted font <sub>"), "Ctrl+J"}, hkInline, "<sub>", "</sub>"},
    {{CMD(ActionSup), 4719, N_("Fonts"), N_("&Superscript"), N_("Superscript font <sup>"), "Ctrl+H"}, hkInline, "<sup>", "</sup>"},
    {{CMD(ActionStrong), 4720, N_("Fonts"), N_("&Strong"), N_("Strong font <strong>"), ""}, hkInline, "<strong>", "</strong>"},
    {{CMD(ActionEmp), 4721, N_("Fonts"), N_("&Emphasized"), N_("Emphasized fon <em>"), ""}, hkInline, "<em>", "</em>"},
    {{CMD(ActionFontColor), 4722, N_("Fonts"), N_("&Color"), N_("Font color"), ""}, hkSpecial},
    {{CMD(ActionUList), 4501, N_("Lists"), N_("&Symbolic"), N_("Bullet list <ul>"), ""}, hkBlock, "<ul>", "</ul>"},
    {{CMD(ActionNList), 4502, N_("Lists"), N_("&Numbered"), N_("Numbered list <ol>"), ""}, hkBlock, "<ol>", "</ol>"},
    {{CMD(ActionListItem), 4503, N_("Lists"), N_("&Item"), N_("List item <li>"), "Ctrl+L"}, hkInline, "<li>", "</li>"},
    {{CMD(ActionGlosDef), 4504, N_("Lists"), N_("&Definition"), N_("Glossary - Definition <dl>"), ""}, hkBlock, "<dl>", "</dl>"},
    {{CMD(ActionGlosTitle), 4505, N_("Lists"), N_("&Title"), N_("Glossary - Title <dt>"), ""}, hkInline, "<dt>", "</dt>"},
    {{CMD(ActionGlosItem), 4506, N_("Lists"), N_("&Description"), N_("Glossary - description <dd>"), ""}, hkInline, "<dd>", "</dd>"},
    {{CMD(ActionListDisc), 4507, N_("Lists"), N_("&Disc"), N_("List with disc symbol"), ""}, hkText, " type=\"disc\"", nullptr, 0},
    {{CMD(ActionListSquare), 4508, N_("Lists"), N_("&Square"), N_("List with square symbol"), ""}, hkText, " type=\"square\"", nullptr, 0},
    {{CMD(ActionListCircle), 4509, N_("Lists"), N_("&Circle"), N_("List with circle symbol"), ""}, hkText, " type=\"circle\"", nullptr, 0},
    {{CMD(ActionListStart), 4510, N_("Lists"), N_("&Start value"), N_("Start value of list"), ""}, hkNumber, " start=\"%s\"", nullptr, 0, N_("Start value"), false, "1"},
    {{CMD(ActionUAlpha), 4511, N_("Lists"), N_("&A,B,C"), N_("List with uppercase letters"), ""}, hkText, " type=\"A\"", nullptr, 0},
    {{CMD(ActionLAlpha), 4512, N_("Lists"), N_("a,&b,c"), N_("List with lowercase letters"), ""}, hkText, " type=\"a\"", nullptr, 0},
    {{CMD(ActionRUNum), 4513, N_("Lists"), N_("&I,II,III"), N_("List with roman numbers"), ""}, hkText, " type=\"I\"", nullptr, 0},
    {{CMD(ActionRLNum), 4514, N_("Lists"), N_("i,&ii,iii"), N_("List with lower roman numbers"), ""}, hkText, " type=\"i\"", nullptr, 0},
    {{CMD(ActionDetails), 4515, N_("Lists"), N_("&Details"), N_("Folding text"), ""}, hkInline, "<details>", "</details>"},
    {{CMD(ActionSummary), 4516, N_("Lists"), N_("S&ummary"), N_("Heading for folding text"), ""}, hkInline, "<summary>", "</summary>"},
    {{CMD(ActionNewTable), 4901, N_("Tables"), N_("&Template"), N_("Insert new table template"), ""}, hkSpecial},
    {{CMD(ActionTabRow), 4902, N_("Tables"), N_("&Row"), N_("Insert row <tr>"), ""}, hkInline, "<tr>", "</tr>"},
    {{CMD(ActionTabTitle), 4903, N_("Tables"), N_("&Title"), N_("Insert column title <th>"), ""}, hkInline, "<th>", "</th>"},
    {{CMD(ActionTabData), 4904, N_("Tables"), N_("&Data"), N_("Insert data field <td>"), "Ctrl+Shift+F"}, hkInline, "<td>", "</td>"},
    {{CMD(ActionColgroup), 4905, N_("Tables"), N_("Column definition"), N_("Predefined column widths <colgroup>"), ""}, hkBlock, "<colgroup>", "</colgroup>"},
    {{CMD(ActionColWidth), 4906, N_("Tables"), N_("Column width"), N_("Column width <col>"), ""}, hkNumber, "<col width=\"%s\">", nullptr, 0, N_("Row width"), true, "20%"},
    {{CMD(ActionBorder), 4907, N_("Tables"), N_("&Margin width"), N_("Margin width"), ""}, hkNumber, " border=\"%s\"", nullptr, 0, N_("Width of border lines"), false, "1"},
    {{CMD(ActionRowspan), 4908, N_("Tables"), N_("&Rows"), N_("Row span"), ""}, hkNumber, " rowspan=\"%s\"", nullptr, 0, N_("Number of rows:"), false, "2"},
    {{CMD(ActionColSpan), 4909, N_("Tables"), N_("&Columns"), N_("Column span"), ""}, hkNumber, " colspan=\"%s\"", nullptr, 0, N_("Number of columns:"), false, "2"},
    {{CMD(ActionCellspacing), 4910, N_("Tables"), N_("&outside"), N_("Outer cell distance"), ""}, hkNumber, " cellspacing=\"%s\"", nullptr, 0, N_("Cell spacing (outside)"), true, "2"},
    {{CMD(ActionCellpadding), 4911, N_("Tables"), N_("&inside"), N_("Inner cell distance "), ""}, hkNumber, " cellpadding=\"%s\"", nullptr, 0, N_("Cell pading (inside)"), true, "2"},
    {{CMD(ActionTable), 4912, N_("Tables"), N_("&Structure"), N_("Table structure"), ""}, hkBlock, "<table>", "</table>"},
    {{CMD(ActionAlignLeft), 4100, N_("Alignment"), N_("&Left"), N_("Align at left"), ""}, hkText, " align=\"left\"", nullptr, 0},
    {{CMD(ActionAlignCenter), 4101, N_("Alignment"), N_("&Centered"), N_("Align hor. centered"), ""}, hkText, " align=\"center\"", nullptr, 0},
    {{CMD(ActionAlignRight), 4102, N_("Alignment"), N_("&right"), N_("Align at right"), ""}, hkText, " align=\"right\"", nullptr, 0},
    {{CMD(ActionAlignTop), 4103, N_("Alignment"), N_("&Top"), N_("Align at top"), ""}, hkText, " valign=\"top\"", nullptr, 0},
    {{CMD(ActionAlignMiddle), 4104, N_("Alignment"), N_("&Middle"), N_("Align vert. centered"), ""}, hkText, " valign=\"middle\"", nullptr, 0},
    {{CMD(ActionAlignBottom), 4105, N_("Alignment"), N_("&Bottom"), N_("Align at bottom"), ""}, hkText, " valign=\"bottom\"", nullptr, 0},
    {{CMD(ActionAlignJust), 4106, N_("Alignment"), N_("&Justify"), N_("Align justified"), ""}, hkText, " align=\"justify\"", nullptr, 0},
    {{CMD(ActionAlignChar), 4107, N_("Alignment"), N_("at &character"), N_("Align at character"), ""}, hkText, " align=\"char\" char=\"\"", nullptr, -1},
    {{CMD(ActionAlignBase), 4108, N_("Alignment"), N_("at &base line"), N_("Align at base line"), ""}, hkText, " valign=\"baseline\"", nullptr, 0},
    {{CMD(ActionHeight), 4001, N_("Dimensions"), N_("&Height"), N_("Height of an element"), ""}, hkNumber, " height=\"%s\"", nullptr, 0, N_("Height:"), true, "30"},
    {{CMD(ActionWidth), 4002, N_("Dimensions"), N_("&Width"), N_("Width of an element"), ""}, hkNumber, " width=\"%s\"", nullptr, 0, N_("Width:"), true, "100%"},
    {{CMD(ActionTextColor), 4201, N_("Colors"), N_("&Text color"), "", ""}, hkColor, " text=\"#%s\"", nullptr, 0, nullptr, false, nullptr, 0x000000},
    {{CMD(ActionBgColor), 4202, N_("Colors"), N_("Background &color"), "", ""}, hkColor, " bgcolor=\"#%s\"", nullptr, 0, nullptr, false, nullptr, 0xFFFFFF},
    {{CMD(ActionLinkColor), 4203, N_("Colors"), N_("Color of &links"), "", ""}, hkColor, " link=\"#%s\"", nullptr, 0, nullptr, false, nullptr, 0xFF0000},
    {{CMD(ActionVisitColor), 4204, N_("Colors"), N_("Color of &visited links"), "", ""}, hkColor, " vlink=\"#%s\"", nullptr, 0, nullptr, false, nullptr, 0xFF00FF},
    {{CMD(ActionActColor), 4205, N_("Colors"), N_("Color of &active links"), "", ""}, hkColor, " alink=\"#%s\"", nullptr, 0, nullptr, false, nullptr, 0x0000FF},
    {{CMD(ActionColor), 4206, N_("Colors"), N_("&Color"), N_("Insert or change color value"), ""}, hkSpecial},
    {{CMD(ActionBgImg), 4207, N_("Colors"), N_("Background &image"), N_("Background image"), ""}, hkSpecial},
    {{CMD(ActionFrameCols), 4601, N_("Frames"), N_("&Vertical frameset"), N_("Vertical frameset"), ""}, hkSpecial},
    {{CMD(ActionFrameRows), 4602, N_("Frames"), N_("&Horizontal frameset"), N_("Horizontal frameset"), ""}, hkSpecial},
    {{CMD(ActionFrameRef), 4603, N_("Frames"), N_("&Frame contents"), N_("Document in subframe"), ""}, hkSpecial},
    {{CMD(ActionFScroll), 4604, N_("Frames"), N_("&Scrollbars"), N_("Frame with Scrollbars"), ""}, hkSpecial},
    {{CMD(ActionFNoResize), 4605, N_("Frames"), N_("&fix size"), N_("Frame with fix size"), ""}, hkText, " noresize", nullptr, 0},
    {{CMD(ActionFMWidth), 4606, N_("Frames"), N_("Hor. &distance"), N_("Hor. distance of frames"), ""}, hkNumber, " marginwidth=\"%s\"", nullptr, 0, N_("Hor. frame spacing:"), false, "5"},
    {{CMD(ActionFMHeight), 4607, N_("Frames"), N_("&Vert. distance"), N_("Vert. distance of frames"), ""}, hkNumber, " marginheight=\"%s\"", nullptr, 0, N_("Vert. frame spacing:"), false, "5"},
    {{CMD(ActionFBorder), 4608, N_("Frames"), N_("&Frame borders"), N_("Frame borders"), ""}, hkNumber, " border=\"%s\"", nullptr, 0, N_("Frame border width:"), false, "2"},
    {{CMD(ActionIFrames), 4609, N_("Frames"), N_("&Embedded frame"), N_("Insert embedded frame"), ""}, hkSpecial},
    {{CMD(ActionForm), 4301, N_("Forms"), N_("&Form"), N_("Define form"), ""}, hkSpecial},
    {{CMD(ActionInputText), 4302, N_("Forms"), N_("Text &field"), N_("Insert text input field"), ""}, hkSpecial},
    {{CMD(ActionSelect), 4303, N_("Forms"), N_("&Selection list"), N_("Insert selection list"), ""}, hkSpecial},
    {{CMD(ActionInputRadio), 4304, N_("Forms"), N_("&Radio buttons"), N_("Insert radio button"), ""}, hkSpecial},
    {{CMD(ActionInputCheck), 4305, N_("Forms"), N_("&Checkbox"), N_("Insert checkbox"), ""}, hkSpecial},
    {{CMD(ActionInputButton), 4306, N_("Forms"), N_("&Button"), N_("Insert button"), ""}, hkSpecial},
    {{CMD(ActionSelectOpt), 4307, N_("Forms"), N_("&List item"), N_("Insert list item"), ""}, hkSpecial},
    {{CMD(ActionSelectGroup), 4308, N_("Forms"), N_("&Group"), N_("Insert group of selection list"), ""}, hkSpecial},
    {{CMD(ActionFormSize), 4309, N_("Forms"), N_("&Length of text field"), N_("Length of text field"), ""}, hkNumber, " size=\"%s\"", nullptr, 0, N_("Size of text area:"), false, "20"},
    {{CMD(ActionFormMax), 4310, N_("Forms"), N_("&Max. text length"), N_("max. length of text"), ""}, hkNumber, " maxlength=\"%s\"", nullptr, 0, N_("Max. length of text input:"), false, "20"},
    {{CMD(ActionFormValue), 4311, N_("Forms"), N_("&Default value"), N_("Default value for input field"), ""}, hkSpecial},
    {{CMD(ActionInputPwd), 4312, N_("Forms"), N_("&Password input"), N_("Password input"), ""}, hkSpecial},
    {{CMD(ActionTextArea), 4313, N_("Forms"), N_("Input &area"), N_("Input area for multiline text"), ""}, hkSpecial},
};
// clang-format on

const QList<THtmlCommand>& htmlCommands() {
    return kCommands;
}

const THtmlCommand* htmlCommand(int id) {
    // The rows stand in the order of their constants.
    const int first = cmd::ActionHead;
    if (id < first || id >= first + kCommands.size())
        return nullptr;
    const THtmlCommand& c = kCommands.at(id - first);
    Q_ASSERT(c.def.id == id);
    return &c;
}

#define C(name)                                                                                    \
    TToolItem {                                                                                    \
        TToolItem::Command, cmd::name                                                              \
    }
#define SEP                                                                                        \
    TToolItem {                                                                                    \
        TToolItem::Separator                                                                       \
    }
#define DROP(title)                                                                                \
    TToolItem {                                                                                    \
        TToolItem::DropDown, -1, title                                                             \
    }
#define END                                                                                        \
    TToolItem {                                                                                    \
        TToolItem::DropDownEnd                                                                     \
    }
#define SUB(title)                                                                                 \
    TToolItem {                                                                                    \
        TToolItem::SubMenu, -1, title                                                              \
    }
#define SUBEND                                                                                     \
    TToolItem {                                                                                    \
        TToolItem::SubMenuEnd                                                                      \
    }

const QList<TToolbarPage>& toolbarPages() {
    // clang-format off
    static const QList<TToolbarPage> pages = {
        {N_("Global"), {DROP(N_("Html structure")), C(ActionHead), C(ActionTitle), C(ActionBody), C(ActionBgColor), C(ActionBgImg),
                        SUB(N_("&Wrap lines")), C(ActionNewline), C(ActionClear), C(ActionNoBreak), C(ActionSoftHyphen), SUBEND, END,
                        SEP, C(ActionSection), C(ActionDiv), C(ActionSpan), C(ActionQuote), C(ActionHorLine), C(ActionFixSpace),
                        C(ActionComment), SEP, C(ActionLink), C(ActionTarget), C(ActionGoto), C(ActionImage), C(ActionImageMap),
                        C(ActionEditTag), DROP(N_("Mail links")), C(ActionMailto), C(ActionMailtoCode), END, SEP,
                        C(ActionPreviousWin), C(ActionNextWin)}},
        {N_("Fonts"), {DROP(N_("Headers")), C(ActionHd1), C(ActionHd2), C(ActionHd3), C(ActionHd4), C(ActionHd5), C(ActionHd6), END,
                       SEP, C(ActionBold), C(ActionItalic), C(ActionULine), C(ActionStrike), C(ActionStrong), C(ActionEmp),
                       C(ActionBig), C(ActionSmall), C(ActionSub), C(ActionSup), C(ActionTeletype), C(ActionPre), SEP,
                       C(ActionTextAlignLeft), C(ActionTextAlignCenter), C(ActionTextAlignRight), C(ActionFontColor)}},
        {N_("Lists"), {C(ActionUList), C(ActionNList), C(ActionListItem), SEP, C(ActionGlosDef), C(ActionGlosTitle),
                       C(ActionGlosItem), SEP, C(ActionDetails), C(ActionSummary), SEP,
                       DROP(N_("List properties")), C(ActionListDisc), C(ActionListSquare), C(ActionListCircle), C(ActionUAlpha),
                       C(ActionLAlpha), C(ActionRUNum), C(ActionRLNum), C(ActionListStart), END}},
        {N_("Tables"), {C(ActionNewTable), C(ActionTable), C(ActionTabRow), C(ActionTabTitle), C(ActionTabData), SEP,
                        C(ActionColgroup), C(ActionColWidth), SEP,
                        DROP(N_("Table properties")), SUB(N_("&Hor. alignment")), C(ActionAlignLeft), C(ActionAlignCenter), C(ActionAlignRight),
                        C(ActionAlignJust), C(ActionAlignChar), SUBEND, SUB(N_("&Vert. alignment")), C(ActionAlignTop),
                        C(ActionAlignMiddle), C(ActionAlignBottom), C(ActionAlignBase), SUBEND, SUB(N_("&Size")), C(ActionWidth),
                        C(ActionHeight), SUBEND, SUB(N_("&Join")), C(ActionRowspan), C(ActionColSpan), SUBEND, SUB(N_("&Distances")),
                        C(ActionCellspacing), C(ActionCellpadding), SUBEND, C(ActionBorder), C(ActionBgColor), END}},
        {N_("Frames"), {C(ActionFrameCols), C(ActionFrameRows), C(ActionFrameRef), C(ActionIFrames), SEP,
                        DROP(N_("Frame attributes")), C(ActionFScroll), C(ActionWidth), C(ActionHeight), C(ActionFMWidth),
                        C(ActionFMHeight), C(ActionFNoResize), C(ActionFBorder), END}},
        {N_("Forms"), {C(ActionForm), C(ActionInputText), C(ActionInputPwd), C(ActionTextArea), C(ActionInputRadio),
                       C(ActionInputCheck), C(ActionInputButton), SEP,
                       DROP(N_("Selection list")), C(ActionSelect), C(ActionSelectGroup), C(ActionSelectOpt), END,
                       DROP(N_("Form attributes")), C(ActionFormSize), C(ActionFormMax), C(ActionFormValue), END}},
        {N_("Attributes"), {DROP(N_("Alignments")), C(ActionAlignLeft), C(ActionAlignCenter), C(ActionAlignRight),
                            C(ActionAlignJust), C(ActionAlignTop), C(ActionAlignMiddle), C(ActionAlignBottom), END,
                            DROP(N_("Sizes")), C(ActionWidth), C(ActionHeight), END,
                            DROP(N_("Body colors")), C(ActionBgColor), C(ActionTextColor), C(ActionLinkColor), C(ActionVisitColor),
                            C(ActionActColor), END, SEP, C(ActionColor), C(ActionBgImg)}},
        {N_("Styles"), {}},
        {N_("Other"), {C(ActionNewline), C(ActionNoBreak), C(ActionSoftHyphen), C(ActionClear)}},
    };
    // clang-format on
    return pages;
}

#undef C
#undef SEP
#undef DROP
#undef END
#undef SUB
#undef SUBEND

} // namespace orvel
