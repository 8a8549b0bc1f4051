#include "textcontrol/ui/HighlighterKinds.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerperl.h>

#include <QByteArray>

namespace orvel::hl {

namespace {

// Scintilla style numbers QScintilla does not name.
constexpr int kPhpComplexVariable = 104; // SCE_HPHP_COMPLEX_VARIABLE: {$a->b} inside strings

// Scintilla's VB/VBScript lexer (SCE_B_*).
enum VbStyle : int {
    vbDefault = 0,
    vbComment = 1,
    vbNumber = 2,
    vbKeyword = 3,
    vbString = 4,
    vbPreprocessor = 5,
    vbOperator = 6,
    vbIdentifier = 7,
    vbDate = 8,
    vbStringEol = 9,
    vbKeyword2 = 10,
    vbKeyword3 = 11,
    vbKeyword4 = 12,
};

// Both script lexers compare words in lower case.
const char kPhpKeywords[] =
    "__halt_compiler abstract and array as break callable case catch class clone const "
    "continue declare default die do echo else elseif empty enddeclare endfor endforeach "
    "endif endswitch endwhile enum eval exit extends final finally fn for foreach function "
    "global goto if implements include include_once instanceof insteadof interface isset "
    "list match namespace new or print private protected public readonly require "
    "require_once return static switch throw trait try unset use var while xor yield "
    "self parent true false null "
    "__class__ __dir__ __file__ __function__ __line__ __method__ __namespace__ __trait__ "
    "php_eol php_int_max php_int_min php_int_size php_float_epsilon php_os php_os_family "
    "php_version default_include_path directory_separator path_separator "
    "e_all e_error e_warning e_parse e_notice e_strict e_deprecated e_core_error "
    "e_core_warning e_compile_error e_compile_warning e_user_error e_user_warning "
    "e_user_notice e_user_deprecated e_recoverable_error";

const char kVbsKeywords[] =
    "and as byref byval call case class const dim do each else elseif empty end eqv erase "
    "error exit explicit false for function get goto if imp in is let loop mod new next "
    "not nothing null on option or preserve private property public randomize redim rem "
    "resume select set step stop sub then to true until wend while with xor";

const char kJsKeywords[] =
    "await break case catch class const continue debugger default delete do else enum "
    "export extends false finally for function if implements import in instanceof "
    "interface let new null package private protected public return static super switch "
    "this throw true try typeof var void while with yield";

const char kJsEvents[] =
    "onabort onafterprint onanimationend onanimationiteration onanimationstart "
    "onbeforeprint onbeforeunload onblur oncanplay oncanplaythrough onchange onclick "
    "oncontextmenu oncopy oncut ondblclick ondrag ondragend ondragenter ondragleave "
    "ondragover ondragstart ondrop ondurationchange onended onerror onfocus onfocusin "
    "onfocusout onhashchange oninput oninvalid onkeydown onkeypress onkeyup onload "
    "onloadeddata onloadedmetadata onloadstart onmessage onmousedown onmouseenter "
    "onmouseleave onmousemove onmouseout onmouseover onmouseup onoffline ononline "
    "onpagehide onpageshow onpaste onpause onplay onplaying onpointerdown onpointermove "
    "onpointerup onpopstate onprogress onratechange onreset onresize onscroll onsearch "
    "onseeked onseeking onselect onstorage onsubmit ontimeupdate ontoggle ontouchcancel "
    "ontouchend ontouchmove ontouchstart ontransitionend onunload onvolumechange "
    "onwaiting onwheel";

// Words with a meaning that are not reserved: built-in objects and functions.
const char kJsNonReserved[] =
    "Array ArrayBuffer BigInt Boolean DataView Date Error EvalError Function Infinity Intl "
    "JSON Map Math NaN Number Object Promise Proxy RangeError ReferenceError Reflect "
    "RegExp Set String Symbol SyntaxError TypeError URIError WeakMap WeakSet alert "
    "arguments async clearInterval clearTimeout confirm console decodeURI "
    "decodeURIComponent document encodeURI encodeURIComponent escape eval fetch "
    "globalThis history isFinite isNaN localStorage location navigator of parseFloat "
    "parseInt prompt sessionStorage setInterval setTimeout undefined unescape window";

// HTML5 names the hypertext lexer's own list lacks.
const char kHtml5Words[] =
    "article aside audio bdi canvas datalist details dialog embed figcaption figure footer "
    "header hgroup main mark meter nav output picture progress rp rt ruby search section "
    "slot source summary svg math template time track video wbr "
    "allow async autocomplete autofocus autoplay contenteditable controls crossorigin "
    "decoding download draggable enterkeyhint formaction formenctype formmethod "
    "formnovalidate formtarget high inert inputmode integrity is itemid itemprop itemref "
    "itemscope itemtype kind list loading loop low max min minlength muted nomodule nonce "
    "novalidate open optimum pattern ping placeholder playsinline popover poster preload "
    "referrerpolicy required reversed role sandbox sizes slot spellcheck srcdoc srclang "
    "srcset step translate wrap "
    "onabort oncanplay oncontextmenu oncopy oncut ondrag ondragend ondragenter "
    "ondragleave ondragover ondragstart ondrop onended onerror oninput oninvalid "
    "onmouseenter onmouseleave onpaste onpause onplay onresize onscroll ontoggle "
    "onwheel";

const char kCss3Properties[] =
    "align-content align-items align-self all animation animation-delay "
    "animation-direction animation-duration animation-fill-mode "
    "animation-iteration-count animation-name animation-play-state "
    "animation-timing-function appearance aspect-ratio backdrop-filter "
    "backface-visibility background-blend-mode background-clip background-origin "
    "background-size border-image border-image-outset border-image-repeat "
    "border-image-slice border-image-source border-image-width border-radius "
    "border-top-left-radius border-top-right-radius border-bottom-left-radius "
    "border-bottom-right-radius box-shadow box-sizing break-after break-before "
    "break-inside caret-color clip-path column-count column-fill column-gap column-rule "
    "column-rule-color column-rule-style column-rule-width column-span column-width "
    "columns contain filter flex flex-basis flex-direction flex-flow flex-grow "
    "flex-shrink flex-wrap font-display font-feature-settings font-kerning "
    "font-variant-caps font-variant-numeric gap grid grid-area grid-auto-columns "
    "grid-auto-flow grid-auto-rows grid-column grid-column-end grid-column-gap "
    "grid-column-start grid-gap grid-row grid-row-end grid-row-gap grid-row-start "
    "grid-template grid-template-areas grid-template-columns grid-template-rows hyphens "
    "inset isolation justify-content justify-items justify-self line-break "
    "margin-block margin-inline mask mix-blend-mode object-fit object-position opacity "
    "order outline-offset overflow-wrap overflow-x overflow-y padding-block "
    "padding-inline perspective perspective-origin place-content place-items place-self "
    "pointer-events resize row-gap scroll-behavior scroll-snap-align scroll-snap-type "
    "tab-size text-align-last text-decoration-color text-decoration-line "
    "text-decoration-style text-overflow text-rendering text-underline-offset transform "
    "transform-origin transform-style transition transition-delay transition-duration "
    "transition-property transition-timing-function user-select will-change word-break "
    "word-wrap writing-mode";

const char kCssPseudoClasses[] =
    "active checked default disabled empty enabled first first-child first-of-type "
    "focus focus-visible focus-within has hover in-range indeterminate invalid is lang "
    "last-child last-of-type left link not nth-child nth-last-child nth-last-of-type "
    "nth-of-type only-child only-of-type optional out-of-range placeholder-shown "
    "read-only read-write required right root target valid visited where "
    "before after first-letter first-line";

const char kCssPseudoElements[] =
    "after backdrop before cue file-selector-button first-letter first-line marker "
    "placeholder selection";

class HtmlLexer : public QsciLexerHTML {
public:
    const char* keywords(int set) const override {
        static const QByteArray html =
            QByteArray(QsciLexerHTML::keywords(1)) + ' ' + QByteArray(kHtml5Words);
        switch (set) {
        case 1:
            return html.constData();
        case 2:
            return kJsKeywords;
        case 3:
            return kVbsKeywords;
        case 5:
            return kPhpKeywords;
        default:
            return QsciLexerHTML::keywords(set);
        }
    }
    QString description(int style) const override {
        // Undescribed styles are never sent to the editor.
        if (style == kPhpComplexVariable)
            return QStringLiteral("PHP complex variable");
        return QsciLexerHTML::description(style);
    }
};

class CssLexer : public QsciLexerCSS {
public:
    const char* keywords(int set) const override {
        switch (set) {
        case 2:
            return kCssPseudoClasses;
        case 4:
            return kCss3Properties;
        case 5:
            return kCssPseudoElements;
        default:
            return QsciLexerCSS::keywords(set);
        }
    }
};

class JsLexer : public QsciLexerJavaScript {
public:
    JsLexer() { setHighlightBackQuotedStrings(true); } // template literals
    const char* keywords(int set) const override {
        switch (set) {
        case 1:
            return kJsKeywords;
        case 2:
            return kJsEvents;
        case 4:
            return kJsNonReserved;
        default:
            return nullptr;
        }
    }
};

// Scintilla's hypertext lexer in its PHP-only mode: the file starts inside PHP code.
class PhpLexer : public QsciLexer {
public:
    const char* language() const override { return "PHP"; }
    const char* lexer() const override { return "phpscript"; }
    int defaultStyle() const override { return QsciLexerHTML::PHPDefault; }
    int styleBitsNeeded() const override { return 7; }
    const char* keywords(int set) const override { return set == 5 ? kPhpKeywords : nullptr; }
    QString description(int style) const override {
        switch (style) {
        case QsciLexerHTML::PHPStart:
            return QStringLiteral("PHP tag");
        case kPhpComplexVariable:
            return QStringLiteral("Complex variable");
        case QsciLexerHTML::PHPDefault:
            return QStringLiteral("Default");
        case QsciLexerHTML::PHPDoubleQuotedString:
            return QStringLiteral("Double-quoted string");
        case QsciLexerHTML::PHPSingleQuotedString:
            return QStringLiteral("Single-quoted string");
        case QsciLexerHTML::PHPKeyword:
            return QStringLiteral("Keyword");
        case QsciLexerHTML::PHPNumber:
            return QStringLiteral("Number");
        case QsciLexerHTML::PHPVariable:
            return QStringLiteral("Variable");
        case QsciLexerHTML::PHPComment:
            return QStringLiteral("Comment");
        case QsciLexerHTML::PHPCommentLine:
            return QStringLiteral("Line comment");
        case QsciLexerHTML::PHPDoubleQuotedVariable:
            return QStringLiteral("Variable in string");
        case QsciLexerHTML::PHPOperator:
            return QStringLiteral("Operator");
        default:
            return {};
        }
    }
};

class VbsLexer : public QsciLexer {
public:
    const char* language() const override { return "VBScript"; }
    const char* lexer() const override { return "vbscript"; }
    const char* keywords(int set) const override { return set == 1 ? kVbsKeywords : nullptr; }
    QString description(int style) const override {
        switch (style) {
        case vbDefault:
            return QStringLiteral("Default");
        case vbComment:
            return QStringLiteral("Comment");
        case vbNumber:
            return QStringLiteral("Number");
        case vbKeyword:
            return QStringLiteral("Keyword");
        case vbString:
            return QStringLiteral("String");
        case vbPreprocessor:
            return QStringLiteral("Preprocessor");
        case vbOperator:
            return QStringLiteral("Operator");
        case vbIdentifier:
            return QStringLiteral("Identifier");
        case vbDate:
            return QStringLiteral("Date");
        case vbStringEol:
            return QStringLiteral("Unclosed string");
        case vbKeyword2:
        case vbKeyword3:
        case vbKeyword4:
            return QStringLiteral("Keyword set %1").arg(style - vbKeyword2 + 2);
        default:
            return {};
        }
    }
};

constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) {
    return r | g << 8 | b << 16;
}

constexpr TAttrStyle kPlain{};
constexpr TAttrStyle kGreyComment{rgb(0x80, 0x80, 0x80), kNoColor, fsItalic};
constexpr TAttrStyle kGreenComment{rgb(0x00, 0x80, 0x00), kNoColor, fsItalic};
constexpr TAttrStyle kKeyword{rgb(0x00, 0x00, 0x80), kNoColor, fsBold};
constexpr TAttrStyle kNumber{rgb(0x09, 0x86, 0x58), kNoColor, 0};
constexpr TAttrStyle kString{rgb(0xA3, 0x15, 0x15), kNoColor, 0};
constexpr TAttrStyle kSymbol{rgb(0x00, 0x00, 0x80), kNoColor, 0};
constexpr TAttrStyle kVariable{rgb(0x80, 0x00, 0x80), kNoColor, 0};

QList<AttrDef> htmlAttrs() {
    using H = QsciLexerHTML;
    return {
        {"Text", {H::Default, H::CDATA, H::SGMLBlockDefault}, kPlain},
        {"Comment",
         {H::HTMLComment, H::ASPXCComment, H::SGMLComment, H::SGMLParameterComment,
          H::JavaScriptComment, H::JavaScriptCommentLine, H::JavaScriptCommentDoc,
          H::ASPJavaScriptComment, H::ASPJavaScriptCommentLine, H::ASPJavaScriptCommentDoc,
          H::VBScriptComment, H::ASPVBScriptComment, H::PythonComment, H::ASPPythonComment,
          H::PHPComment, H::PHPCommentLine},
         kGreyComment},
        {"Key",
         {H::Tag,
          H::XMLTagEnd,
          H::XMLStart,
          H::XMLEnd,
          H::Script,
          H::ASPAtStart,
          H::ASPStart,
          H::PHPStart,
          H::SGMLDefault,
          H::SGMLCommand,
          H::JavaScriptStart,
          H::JavaScriptKeyword,
          H::ASPJavaScriptStart,
          H::ASPJavaScriptKeyword,
          H::VBScriptStart,
          H::VBScriptKeyword,
          H::ASPVBScriptStart,
          H::ASPVBScriptKeyword,
          H::PythonStart,
          H::PythonKeyword,
          H::ASPPythonStart,
          H::ASPPythonKeyword,
          H::PHPKeyword},
         kKeyword},
        // Script words take the attribute colour, never the text one that spelling checks.
        {"Identifier",
         {H::Attribute,
          H::UnknownAttribute,
          H::SGMLParameter,
          H::JavaScriptDefault,
          H::JavaScriptWord,
          H::ASPJavaScriptDefault,
          H::ASPJavaScriptWord,
          H::VBScriptDefault,
          H::VBScriptIdentifier,
          H::ASPVBScriptDefault,
          H::ASPVBScriptIdentifier,
          H::PythonDefault,
          H::PythonClassName,
          H::PythonFunctionMethodName,
          H::PythonIdentifier,
          H::ASPPythonDefault,
          H::ASPPythonClassName,
          H::ASPPythonFunctionMethodName,
          H::ASPPythonIdentifier,
          H::PHPDefault,
          H::PHPVariable,
          H::PHPDoubleQuotedVariable,
          kPhpComplexVariable},
         {rgb(0x80, 0x00, 0x00), kNoColor, 0}},
        {"Value",
         {H::HTMLNumber,
          H::HTMLDoubleQuotedString,
          H::HTMLSingleQuotedString,
          H::HTMLValue,
          H::SGMLDoubleQuotedString,
          H::SGMLSingleQuotedString,
          H::JavaScriptNumber,
          H::JavaScriptDoubleQuotedString,
          H::JavaScriptSingleQuotedString,
          H::JavaScriptUnclosedString,
          H::JavaScriptRegex,
          H::ASPJavaScriptNumber,
          H::ASPJavaScriptDoubleQuotedString,
          H::ASPJavaScriptSingleQuotedString,
          H::ASPJavaScriptUnclosedString,
          H::ASPJavaScriptRegex,
          H::VBScriptNumber,
          H::VBScriptString,
          H::VBScriptUnclosedString,
          H::ASPVBScriptNumber,
          H::ASPVBScriptString,
          H::ASPVBScriptUnclosedString,
          H::PythonNumber,
          H::PythonDoubleQuotedString,
          H::PythonSingleQuotedString,
          H::PythonTripleSingleQuotedString,
          H::PythonTripleDoubleQuotedString,
          H::ASPPythonNumber,
          H::ASPPythonDoubleQuotedString,
          H::ASPPythonSingleQuotedString,
          H::ASPPythonTripleSingleQuotedString,
          H::ASPPythonTripleDoubleQuotedString,
          H::PHPDoubleQuotedString,
          H::PHPSingleQuotedString,
          H::PHPNumber},
         {rgb(0x00, 0x00, 0xFF), kNoColor, 0}},
        {"Symbol",
         {H::OtherInTag, H::SGMLSpecial, H::JavaScriptSymbol, H::ASPJavaScriptSymbol,
          H::PythonOperator, H::ASPPythonOperator, H::PHPOperator},
         kSymbol},
        {"Entity", {H::Entity, H::SGMLEntity}, {rgb(0x80, 0x00, 0x80), kNoColor, 0}},
        {"UndefinedKey", {H::UnknownTag, H::SGMLError}, {rgb(0xFF, 0x00, 0x00), kNoColor, fsBold}},
        // Blanks share the text style in this lexer.
        {"Space", {}, kPlain},
    };
}

QList<AttrDef> cssAttrs() {
    using C = QsciLexerCSS;
    return {
        {"Comment", {C::Comment}, kGreyComment},
        {"Property",
         {C::CSS1Property, C::CSS2Property, C::CSS3Property, C::ExtendedCSSProperty},
         {rgb(0x00, 0x00, 0x80), kNoColor, 0}},
        // The lexer styles colours and numbers as part of the value.
        {"Color", {}, {rgb(0x00, 0x80, 0x80), kNoColor, 0}},
        {"Number", {}, kNumber},
        {"AtRule", {C::AtRule, C::MediaRule}, {rgb(0x80, 0x00, 0x80), kNoColor, fsBold}},
        {"Selector",
         {C::Tag, C::ClassSelector, C::PseudoClass, C::IDSelector, C::PseudoElement,
          C::ExtendedPseudoClass, C::ExtendedPseudoElement},
         {rgb(0x80, 0x00, 0x00), kNoColor, fsBold}},
        {"Attribute", {C::Attribute}, {rgb(0x80, 0x40, 0x00), kNoColor, 0}},
        {"Space", {C::Default}, kPlain},
        {"String", {C::DoubleQuotedString, C::SingleQuotedString}, kString},
        {"Symbol", {C::Operator}, kPlain},
        {"Text", {}, kPlain},
        {"Value", {C::Value, C::Variable}, {rgb(0x00, 0x00, 0xFF), kNoColor, 0}},
        {"Important", {C::Important}, {rgb(0xFF, 0x00, 0x00), kNoColor, fsBold}},
        {"UndefinedProperty",
         {C::UnknownProperty, C::UnknownPseudoClass},
         {rgb(0xC0, 0x00, 0x00), kNoColor, fsUnderline}},
    };
}

QList<AttrDef> jsAttrs() {
    using J = QsciLexerJavaScript;
    return {
        {"Comment",
         {J::Comment, J::CommentLine, J::CommentDoc, J::CommentLineDoc, J::CommentDocKeyword,
          J::CommentDocKeywordError, J::PreProcessorComment, J::PreProcessorCommentLineDoc},
         kGreenComment},
        {"Identifier", {J::Identifier}, kPlain},
        {"Key", {J::Keyword}, kKeyword},
        {"Event", {J::KeywordSet2}, {rgb(0x80, 0x00, 0x80), kNoColor, 0}},
        {"Number", {J::Number}, kNumber},
        {"Space", {J::Default}, kPlain},
        {"String",
         {J::DoubleQuotedString, J::SingleQuotedString, J::UnclosedString, J::VerbatimString,
          J::Regex, J::RawString, J::TripleQuotedVerbatimString, J::HashQuotedString,
          J::EscapeSequence},
         kString},
        {"Symbol", {J::Operator}, kSymbol},
        {"NonReservedKey", {J::GlobalClass}, {rgb(0x26, 0x7F, 0x99), kNoColor, 0}},
    };
}

QList<AttrDef> phpAttrs() {
    using H = QsciLexerHTML;
    return {
        {"Comment", {H::PHPComment, H::PHPCommentLine}, kGreenComment},
        // Names that are no keywords keep the lexer's default style, like blanks.
        {"Identifier", {H::PHPDefault}, kPlain},
        {"Key", {H::PHPKeyword, H::PHPStart}, kKeyword},
        {"Number", {H::PHPNumber}, kNumber},
        {"Space", {}, kPlain},
        {"String", {H::PHPDoubleQuotedString, H::PHPSingleQuotedString}, kString},
        {"Symbol", {H::PHPOperator}, kSymbol},
        {"Variable", {H::PHPVariable, H::PHPDoubleQuotedVariable, kPhpComplexVariable}, kVariable},
    };
}

QList<AttrDef> vbsAttrs() {
    return {
        {"Comment", {vbComment}, kGreenComment},
        {"Identifier", {vbIdentifier}, kPlain},
        {"Key", {vbKeyword, vbKeyword2, vbKeyword3, vbKeyword4, vbPreprocessor}, kKeyword},
        {"Number", {vbNumber, vbDate}, kNumber},
        {"Space", {vbDefault}, kPlain},
        {"String", {vbString, vbStringEol}, kString},
        {"Symbol", {vbOperator}, kSymbol},
    };
}

QList<AttrDef> perlAttrs() {
    using P = QsciLexerPerl;
    return {
        {"Comment", {P::Comment, P::POD, P::PODVerbatim, P::DataSection}, kGreenComment},
        {"Identifier", {P::Identifier, P::FormatIdentifier}, kPlain},
        {"Key", {P::Keyword}, kKeyword},
        {"Number", {P::Number}, kNumber},
        {"Operator", {P::Operator}, {rgb(0x80, 0x40, 0x00), kNoColor, 0}},
        // The lexer knows one word list: "use strict" is a keyword and a name.
        {"Pragma", {}, {rgb(0x80, 0x00, 0x80), kNoColor, fsBold}},
        {"Space", {P::Default}, kPlain},
        {"String",
         {P::DoubleQuotedString, P::SingleQuotedString, P::Regex, P::Substitution, P::Backticks,
          P::HereDocumentDelimiter, P::SingleQuotedHereDocument, P::DoubleQuotedHereDocument,
          P::BacktickHereDocument, P::QuotedStringQ, P::QuotedStringQQ, P::QuotedStringQX,
          P::QuotedStringQR, P::QuotedStringQW, P::FormatBody, P::Translation},
         kString},
        {"Symbol", {P::SubroutinePrototype}, kSymbol},
        {"Variable",
         {P::Scalar, P::Array, P::Hash, P::SymbolTable, P::DoubleQuotedStringVar, P::RegexVar,
          P::SubstitutionVar, P::BackticksVar, P::DoubleQuotedHereDocumentVar,
          P::BacktickHereDocumentVar, P::QuotedStringQQVar, P::QuotedStringQXVar,
          P::QuotedStringQRVar},
         kVariable},
        {"Invalid", {P::Error}, {rgb(0xFF, 0x00, 0x00), kNoColor, fsUnderline}},
    };
}

} // namespace

QsciLexer* makeLexer(THighlighterKind kind) {
    switch (kind) {
    case hkHtml:
        return new HtmlLexer;
    case hkCss:
        return new CssLexer;
    case hkJs:
        return new JsLexer;
    case hkPhp:
        return new PhpLexer;
    case hkVbs:
        return new VbsLexer;
    case hkPerl:
        return new QsciLexerPerl;
    }
    return nullptr;
}

QList<AttrDef> attrDefs(THighlighterKind kind) {
    switch (kind) {
    case hkHtml:
        return htmlAttrs();
    case hkCss:
        return cssAttrs();
    case hkJs:
        return jsAttrs();
    case hkPhp:
        return phpAttrs();
    case hkVbs:
        return vbsAttrs();
    case hkPerl:
        return perlAttrs();
    }
    return {};
}

} // namespace orvel::hl
