#pragma once
// The small borderless window shown while the program starts or a project is opened: version,
// legal notice, and what is being loaded.

#include <QWidget>

class QLabel;

namespace orvel {

class TStartScreen : public QWidget {
    Q_OBJECT
public:
    TStartScreen(const QString& version, const QString& legalNotice, QWidget* parent = nullptr);

    void setStatus(const QString& text);
    void setProject(const QString& name);
    // Shortened in the middle to fit the line.
    void setFile(const QString& fileName);
    QString fileLine() const;
    QString projectLine() const;

private:
    void paintNow();

    QLabel* m_status;
    QLabel* m_project;
    QLabel* m_file;
};

} // namespace orvel
