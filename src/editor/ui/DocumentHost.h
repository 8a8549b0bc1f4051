#pragma once
// What a document window needs from the main window that holds it.

#include "editor/core/DocumentText.h"

#include <QString>
#include <QStringList>

namespace orvel {

class IDialogs;
class IElementDialogs;
class ISearchDialogs;
class TFindReplDialog;
class THtmlCharTable;
class TMDIForm;

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual int GetId() = 0;
    virtual IDialogs& dialogs() = 0;
    virtual ISearchDialogs& searchDialogs() = 0;
    // The application's one find and replace dialog.
    virtual TFindReplDialog* findDialog() = 0;
    virtual IElementDialogs& elementDialogs() = 0;
    // The character table loaded at start; null when none is loaded.
    virtual const THtmlCharTable* charTable() const = 0;
    // The anchor names the link commands offer.
    virtual QStringList anchorNames() const = 0;
    // Whether a page of the document toolbar opens when the mouse moves over its tab.
    virtual bool dynamicToolbars() const = 0;
    virtual void setDynamicToolbars(bool on) = 0;
    // The HTML root folder (HtmPath), with a trailing "/".
    virtual QString htmlRoot() const = 0;
    // A read-only data file of the program ("default.html"); empty when there is none.
    virtual QString programDataFile(const QString& name) const = 0;
    // "Orvel (Version x.y.z)": the caption of questions about documents.
    virtual QString mainCaption() const = 0;
    // The application title that error boxes carry.
    virtual QString appTitle() const = 0;
    // Saves one document, asking for a name when needed. False when nothing was saved
    // although it should have been (name dialog cancelled, write failed).
    virtual bool SaveTextFromMDI(TMDIForm* form, bool closeText, bool noConfirm,
                                 bool saveUnchanged) = 0;
    virtual void CloseMDI(int tabIndex, int docId, TTextStatus status, const QString& fileName) = 0;
    virtual void ShowStatus(bool updateTabs) = 0;
    virtual void PreviousMDI(int docId) = 0;
    virtual void NextMDI(int docId) = 0;
};

} // namespace orvel
