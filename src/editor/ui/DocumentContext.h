#pragma once
// What every document window reads from the program around it. Only getters: a document
// window tells of its changes through its signals.

#include <QString>
#include <QStringList>

namespace orvel {

class IDialogs;
class IElementDialogs;
class ISearchDialogs;
class TFindReplDialog;
class THtmlCharTable;
class TSynEditSpellCheck;

class IDocumentContext {
public:
    virtual ~IDocumentContext() = default;
    virtual IDialogs& dialogs() = 0;
    virtual ISearchDialogs& searchDialogs() = 0;
    virtual IElementDialogs& elementDialogs() = 0;
    // The application's one find and replace dialog; null in tests that need none.
    virtual TFindReplDialog* findDialog() = 0;
    // The character table loaded at start; null when none is loaded.
    virtual const THtmlCharTable* charTable() const = 0;
    // The anchor names the link commands offer, most recent first (at most 20 kept); the
    // one-line input puts a name it takes on top.
    virtual QStringList* anchorHistory() = 0;
    // The HTML root folder (HtmPath), with a trailing "/".
    virtual QString htmlRoot() const = 0;
    // A read-only data file of the program ("default.html"); empty when there is none.
    virtual QString programDataFile(const QString& name) const = 0;
    // "Orvel (Version x.y.z)": the caption of questions about documents.
    virtual QString mainCaption() const = 0;
    // The application title that error boxes carry.
    virtual QString appTitle() const = 0;
    // The one spell checker HTML and plain-text documents share; null: no spell checking.
    virtual TSynEditSpellCheck* spellChecker() { return nullptr; }
};

} // namespace orvel
