#pragma once
// Turns an HTML template (a head of "<!-- #var" name = value lines, then a body using
// "[%name]") into the HTML file of the same name.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvel {

class TLogFile;

// Progress of a publishing run; null members are skipped.
struct TTemplateReport {
    TLogFile* log = nullptr;
    // The transfer window's current action; the window processes pending events in it.
    std::function<void(const QString& text)> showAction;
    // The transfer window's status line.
    std::function<void(const QString& text)> showStatus;
};

struct TTemplateOutput {
    QStringList lines;
    bool headerFound = false;
    bool headerClosed = false;
};

// The expansion of the template's lines, without touching any file.
TTemplateOutput expandTemplate(const QStringList& lines);
// The same for a whole text, split at CR LF, LF or CR.
TTemplateOutput expandTemplateText(const QString& text);

// What processing the template would write, without writing anything.
struct TTemplateRendering {
    QString htmlFile; // empty when nothing would be written (error then tells why)
    QByteArray bytes;
    bool unchanged = false; // the HTML file holds these bytes already
    bool noHeader = false;  // not a template: nothing to write, and no error
};
TTemplateRendering RenderTemplate(const QString& templateFile,
                                  const TTemplateReport* report = nullptr,
                                  QString* error = nullptr);

// Writes the template's HTML file (extension "html", same folder) and keeps the previous one
// as "<name>.html.bak"; an HTML file that holds the result already is left as it is, time
// and all. Returns the HTML file's full path, or empty when nothing was written; error then
// tells why. With a report the steps also go to the log and the window.
QString ProcessTemplate(const QString& templateFile, const TTemplateReport* report = nullptr,
                        QString* error = nullptr);
// The writing half of ProcessTemplate.
QString WriteTemplateHtml(const TTemplateRendering& rendered,
                          const TTemplateReport* report = nullptr, QString* error = nullptr);

} // namespace orvel
