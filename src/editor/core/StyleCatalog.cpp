#include "editor/core/StyleCatalog.h"

#include "base/core/Translate.h"

namespace orvel {

namespace {

#define BORDER_STYLES "none,hidden,dotted,dashed,solid,double,groove,ridge,inset,outset"

// clang-format off
const QList<TStyleCommand> kStyles = {
    {{CMD(ActionMargin), 5001, N_("Styles"), N_("&all distances"), N_("Global margins/distances"), ""}, skText, "margin:;", -1},
    {{CMD(ActionMarginLeft), 5002, N_("Styles"), N_("Distance at &left"), N_("Outer margin/distance at left"), ""}, skNumber, "margin-left:%s;", 0, N_("Margin (outside):"), N_("at left:"), "10px"},
    {{CMD(ActionStylesInclude), 5003, N_("Styles"), N_("External &style sheet"), N_("Use external &style sheet"), ""}, skSpecial},
    {{CMD(ActionStylesHtml), 0, N_("Styles"), N_("&Internal styles "), N_("Define Styles in HTML head"), ""}, skSpecial},
    {{CMD(ActionStyles), 5004, N_("Styles"), N_("Style &attributes"), N_("Insert style &attributes"), ""}, skText, " style=\"\"", -1},
    {{CMD(ActionFontFam), 5005, N_("Styles"), N_("&Font"), N_("Font family"), ""}, skText, "font-family:;", -1},
    {{CMD(ActionFontStyle), 5006, N_("Styles"), N_("&Style"), N_("Font style"), ""}, skChoice, "font-style:%s;", 0, N_("Font style"), nullptr, "italic,oblique,normal"},
    {{CMD(ActionFontVar), 5007, N_("Styles"), N_("&Variant"), N_("Font variant"), ""}, skChoice, "font-variant:%s;", 0, N_("Font variant"), nullptr, "small-caps,normal"},
    {{CMD(ActionFontSize), 5008, N_("Styles"), N_("&Size"), N_("Font size"), ""}, skNumber, "font-size:%s;", 0, N_("Font size"), nullptr, "1.0em"},
    {{CMD(ActionFontWeight), 5009, N_("Styles"), N_("&Weight"), N_("Font weight"), ""}, skChoice, "font-weight:%s;", 0, N_("Font weight"), nullptr, "bold,bolder,lighter,normal"},
    {{CMD(ActionFontStretch), 5010, N_("Styles"), N_("&Stretch"), N_("Font stretch"), ""}, skChoice, "font-stretch:%s;", 0, N_("Font stretch"), nullptr, "wider,narrower,condensed,semi-condensed,extra-condensed,ultra-condensed,expanded,semi-expanded,extra-expanded,ultra-expanded,normal"},
    {{CMD(ActionFont), 5011, N_("Styles"), N_("&Basic"), N_("Font"), ""}, skText, "font: ", 0},
    {{CMD(ActionFontWSpace), 5012, N_("Styles"), N_("&Word spacing"), N_("Word spacing"), ""}, skNumber, "word-spacing:%s;", 0, N_("Word spacing"), nullptr, "1.0em"},
    {{CMD(ActionFontLSpace), 5013, N_("Styles"), N_("&Letter spacing"), N_("Letter spacing"), ""}, skNumber, "letter-spacing:%s;", 0, N_("Letter spacing"), nullptr, "0.2em"},
    {{CMD(ActionFontDeco), 5014, N_("Styles"), N_("&Decoration"), N_("Text decoration"), ""}, skChoice, "text-decoration:%s;", 0, N_("Text decoration"), nullptr, "underline,overline,line-through,blink,none"},
    {{CMD(ActionFontTrans), 5015, N_("Styles"), N_("&Transform"), N_("Text transform"), ""}, skChoice, "text-transform:%s;", 0, N_("Text transform"), nullptr, "capitalize,uppercase,lowercase,none"},
    {{CMD(ActionFontCol), 5016, N_("Styles"), N_("&Color"), N_("Text color"), ""}, skColor, "color:#%s;", 0, N_("Font color")},
    {{CMD(ActionFontShad), 5017, N_("Styles"), N_("S&hadow"), N_("Text shadow"), ""}, skText, "text-shadow: ", 0},
    {{CMD(ActionTextIndent), 5018, N_("Styles"), N_("&Indent"), N_("Indent"), ""}, skNumber, "text-indent:%s;", 0, N_("Indention:"), nullptr, "1.0em"},
    {{CMD(ActionLineHeight), 5019, N_("Styles"), N_("&Line height"), N_("Line height"), ""}, skNumber, "line-height:%s;", 0, N_("Line height:"), nullptr, "1.2em"},
    {{CMD(ActionVertAlign), 5020, N_("Styles"), N_("&Vert. alignment"), N_("Vert. alignment"), ""}, skChoice, "vertical-align:%s;", 0, N_("Vert. alignment:"), nullptr, "top,middle,bottom,baseline,sub,super,text-top,text-bottom"},
    {{CMD(ActionHorAlign), 5021, N_("Styles"), N_("&Hor. alignment"), N_("Hor. alignment"), ""}, skChoice, "text-align:%s;", 0, N_("Hor. alignment:"), nullptr, "left,center,right,justify"},
    {{CMD(ActionWhiteSpace), 5022, N_("Styles"), N_("&Text wrap"), N_("Wrap selected text"), ""}, skChoice, "white-space:%s;", 0, N_("Text wrapping"), nullptr, "normal,pre,nowrap"},
    {{CMD(ActionMarginTop), 5023, N_("Styles"), N_("Distance at &top"), N_("Outer margin/distance top"), ""}, skNumber, "margin-top:%s;", 0, N_("Margin (outside):"), N_("at top:"), "10px"},
    {{CMD(ActionMarginBottom), 5024, N_("Styles"), N_("Distance at &bottom"), N_("Outer margin/distance bottom"), ""}, skNumber, "margin-bottom:%s;", 0, N_("Margin (outside):"), N_("at bottom:"), "10px"},
    {{CMD(ActionMarginRight), 5025, N_("Styles"), N_("Distance at &right"), N_("Outer margin/distance right"), ""}, skNumber, "margin-right:%s;", 0, N_("Margin (outside):"), N_("at right:"), "10px"},
    {{CMD(ActionPaddingTop), 5026, N_("Styles"), N_("Distance at &top"), N_("Inner distance at top"), ""}, skNumber, "padding-top:%s;", 0, N_("Margin (inside):"), N_("at top:"), "5px"},
    {{CMD(ActionPaddingBottom), 5027, N_("Styles"), N_("Distance at &bottom"), N_("Inner distance at bottom"), ""}, skNumber, "padding-bottom:%s;", 0, N_("Margin (inside):"), N_("at bottom:"), "5px"},
    {{CMD(ActionPaddingLeft), 5028, N_("Styles"), N_("Distance at &left"), N_("Inner distance at left"), ""}, skNumber, "padding-left:%s;", 0, N_("Margin (inside):"), N_("at left:"), "5px"},
    {{CMD(ActionPaddingRight), 5029, N_("Styles"), N_("Distance at &right"), N_("Inner distance at right"), ""}, skNumber, "padding-right:%s;", 0, N_("Margin (inside):"), N_("at right:"), "5px"},
    {{CMD(ActionPadding), 5030, N_("Styles"), N_("&All distances"), N_("Distance all sides"), ""}, skText, "padding:;", -1},
    {{CMD(ActionBorderTopWidth), 5031, N_("Styles"), N_("&Top"), N_("Border width at top"), ""}, skNumber, "border-top-width:%s;", 0, N_("Frame width "), N_("at top:"), "2px"},
    {{CMD(ActionBorderTopStyle), 5032, N_("Styles"), N_("&Top"), N_("Border style at top"), ""}, skChoice, "border-top-style:%s;", 0, N_("Frame style "), N_("at top:"), BORDER_STYLES},
    {{CMD(ActionBorderTopColor), 5033, N_("Styles"), N_("&Top"), N_("Border color at top"), ""}, skColor, "border-top-color:#%s;", 0, N_("Frame color "), N_("at top:")},
    {{CMD(ActionBorderBottomWidth), 5034, N_("Styles"), N_("&bottom"), N_("Border width at bottom"), ""}, skNumber, "border-bottom-width:%s;", 0, N_("Frame width "), N_("at bottom:"), "2px"},
    {{CMD(ActionBorderBottomStyle), 5035, N_("Styles"), N_("&Bottom"), N_("Border style at bottom"), ""}, skChoice, "border-bottom-style:%s;", 0, N_("Frame style "), N_("at bottom:"), BORDER_STYLES},
    {{CMD(ActionBorderBottomColor), 5036, N_("Styles"), N_("&Bottom"), N_("Border color at bottom"), ""}, skColor, "border-bottom-color:#%s;", 0, N_("Frame color "), N_("at bottom:")},
    {{CMD(ActionBorderLeftWidth), 5037, N_("Styles"), N_("&Left"), N_("Border width at left"), ""}, skNumber, "border-left-width:%s;", 0, N_("Frame width "), N_("at left:"), "2px"},
    {{CMD(ActionBorderLeftStyle), 5038, N_("Styles"), N_("&Left"), N_("Border style at left"), ""}, skChoice, "border-left-style:%s;", 0, N_("Frame style "), N_("at left:"), BORDER_STYLES},
    {{CMD(ActionBorderLeftColor), 5039, N_("Styles"), N_("&Left"), N_("Border color at left"), ""}, skColor, "border-left-color:#%s;", 0, N_("Frame color "), N_("at left:")},
    {{CMD(ActionBorderRightWidth), 5040, N_("Styles"), N_("&Right"), N_("Border width at right"), ""}, skNumber, "border-right-width:%s;", 0, N_("Frame width "), N_("at right:"), "2px"},
    {{CMD(ActionBorderRightStyle), 5041, N_("Styles"), N_("&Right"), N_("Border style at right"), ""}, skChoice, "border-right-style:%s;", 0, N_("Frame style "), N_("at right:"), BORDER_STYLES},
    {{CMD(ActionBorderRightColor), 5042, N_("Styles"), N_("&Right"), N_("Border color at right"), ""}, skColor, "border-right-color:#%s;", 0, N_("Frame color "), N_("at right:")},
    {{CMD(ActionBorderWidth), 5043, N_("Styles"), N_("&All sides"), N_("Border width all around"), ""}, skNumber, "border-width:%s;", 0, N_("Frame width "), N_("(all sides)"), "2px"},
    {{CMD(ActionBorderColor), 5044, N_("Styles"), N_("&All sides"), N_("Border color all around"), ""}, skColor, "border-color:#%s;", 0, N_("Frame color "), N_("(all sides)")},
    {{CMD(ActionBorderStyle), 5045, N_("Styles"), N_("&All sides"), N_("Border style all around"), ""}, skChoice, "border-style:%s;", 0, N_("Frame style "), N_("(all sides)"), BORDER_STYLES},
    {{CMD(ActionBorderAll), 5046, N_("Styles"), N_("&All sides"), N_("Border properties all around"), ""}, skText, "border:;", -1},
    {{CMD(ActionBorderAllTop), 5047, N_("Styles"), N_("&Top"), N_("Border properties at top"), ""}, skText, "border-top:;", -1},
    {{CMD(ActionBorderAllBottom), 5048, N_("Styles"), N_("&Bottom"), N_("Border properties at bottom"), ""}, skText, "border-bottom:;", -1},
    {{CMD(ActionBorderAllLeft), 5049, N_("Styles"), N_("&Left"), N_("Border properties at left"), ""}, skText, "border-left:;", -1},
    {{CMD(ActionBorderAllRight), 5050, N_("Styles"), N_("&Right"), N_("Border properties at right"), ""}, skText, "border-right:;", -1},
    {{CMD(ActionListPos), 5051, N_("Styles"), N_("&Indent"), N_("List indent"), ""}, skChoice, "list-style-position:%s;", 0, N_("List indention:"), nullptr, "inside,outside"},
    {{CMD(ActionListType), 5052, N_("Styles"), N_("&Type"), N_("Type of list"), ""}, skChoice, "list-style-type:%s;", 0, N_("List type:"), nullptr, "decimal,lower-roman,upper-roman,lower-alpha,upper-alpha,disc,circle,square,none"},
    {{CMD(ActionListImage), 5053, N_("Styles"), N_("&Bullet graphic"), N_("List with bullet graphics"), ""}, skImageLink, "list-style-image:url(%s);", 0, N_("Bullet graphic")},
    {{CMD(ActionListAll), 5054, N_("Styles"), N_("&Global"), N_("Global list properties"), ""}, skText, "list-style:;", -1},
    {{CMD(ActionStyleBg), 5055, N_("Styles"), N_("&All Properties"), N_("Background properties"), ""}, skText, "background:;", -1},
    {{CMD(ActionStyleBgCol), 5056, N_("Styles"), N_("&Color"), N_("Background color"), ""}, skColor, "background-color:#%s;", 0, N_("Background color")},
    {{CMD(ActionStyleBgImg), 5057, N_("Styles"), N_("&Image"), N_("Background image"), ""}, skImageLink, "background-image:url(%s);", 0, N_("Background image")},
    {{CMD(ActionStyleBgRpt), 5058, N_("Styles"), N_("&Repeat"), N_("Repeat effect of background"), ""}, skChoice, "background-repeat:%s;", 0, N_("Repeat effect of background"), nullptr, "repeat,repeat-x,repeat-y,no-repeat"},
    {{CMD(ActionStyleBgAtt), 5059, N_("Styles"), N_("Water&mark"), N_("Background watermark"), ""}, skChoice, "background-attachment:%s;", 0, N_("Background watermark"), nullptr, "scroll,fixed"},
    {{CMD(ActionStyleBgPos), 5060, N_("Styles"), N_("&Position"), N_("Background position"), ""}, skSpecial},
    // With its ";", as every declaration: without it the next one would join this one.
    {{CMD(ActionStyleBgTransp), 5061, N_("Styles"), N_("&Transparent"), N_("Transparent Background"), ""}, skStyleLine, "background-color:transparent;"},
};
// clang-format on

#undef BORDER_STYLES

} // namespace

const QList<TStyleCommand>& styleCommands() {
    return kStyles;
}

const TStyleCommand* styleCommand(int id) {
    // The rows stand in the order of their constants.
    const int first = cmd::ActionMargin;
    if (id < first || id >= first + kStyles.size())
        return nullptr;
    const TStyleCommand& c = kStyles.at(id - first);
    Q_ASSERT(c.def.id == id);
    return &c;
}

QString styleLabel(const TStyleCommand& command) {
    QString label = command.label ? T_(command.label) : QString();
    // "Frame width " + "at top:"; "Margin (outside):" + "at top:" gets its blank too.
    if (command.label2) {
        if (!label.isEmpty() && !label.endsWith(u' '))
            label += u' ';
        label += T_(command.label2);
    }
    return label;
}

} // namespace orvel
