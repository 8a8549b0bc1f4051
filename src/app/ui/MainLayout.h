#pragma once
// The widgets of the main window's frame: top bar, left page control, upper panel,
// document area and tab strip, with the splitters between them.

#include <QObject>

class QSplitter;
class QStackedWidget;
class QTabBar;
namespace orvel {
class TFileTabBar;
}
class QComboBox;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;

namespace orvel {

struct TFormSettings;

class TMainLayout : public QObject {
    Q_OBJECT
public:
    // Builds the frame as the central widget of host.
    explicit TMainLayout(QWidget* host);

    QWidget* central = nullptr;
    QWidget* PanelSpace = nullptr; // top bar
    QToolBar* fileToolBar = nullptr;
    QWidget* ViewPanel = nullptr; // the active document's tool area
    QToolButton* macroButton = nullptr;
    QSplitter* mainSplit = nullptr; // left page control | right side
    QTabWidget* pcLeft = nullptr;
    QComboBox* cbProjects = nullptr;   // the project list
    QToolButton* btnProject = nullptr; // edits the project; its menu holds the project commands
    QSplitter* navSplit = nullptr;     // folder tree over file list
    QSplitter* topSplit = nullptr;     // upper panel over the documents
    QTabWidget* pcTop = nullptr;
    QSplitter* macroSplit = nullptr; // macro list | macro text
    QStackedWidget* docArea = nullptr;
    TFileTabBar* tabs = nullptr;

    // Whether the upper panel (text macros or search results) is shown.
    bool topPanelShown() const;
    void showTopPanel(bool show);

    // Splitter sizes to and from the stored values.
    void apply(const TFormSettings& form);
    void capture(TFormSettings& form) const;

private:
    int m_editSplit = 200; // height of the upper panel while it is shown
};

} // namespace orvel
