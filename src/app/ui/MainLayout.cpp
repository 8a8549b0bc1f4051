#include "app/ui/MainLayout.h"

#include "app/core/Settings.h"
#include "app/ui/FileTabs.h"
#include "base/core/Translate.h"

#include <QComboBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
// Gives the first pane of a splitter its stored size and the rest to the second; the sum
// must be the splitter's own, or the splitter would scale both.
void setFirst(QSplitter* splitter, int first, int fallbackTotal) {
    int total = 0;
    for (int s : splitter->sizes())
        total += s;
    if (total <= 0)
        total = fallbackTotal;
    first = qBound(0, first, total);
    splitter->setSizes({first, total - first});
}

QWidget* emptyPage(QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setMinimumSize(0, 0);
    return w;
}
} // namespace

TMainLayout::TMainLayout(QWidget* host) : QObject(host) {
    central = new QWidget(host);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    PanelSpace = new QWidget(central);
    auto* top = new QHBoxLayout(PanelSpace);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(2);
    fileToolBar = new QToolBar(PanelSpace);
    fileToolBar->setIconSize(QSize(16, 16));
    ViewPanel = new QWidget(PanelSpace);
    auto* viewLayout = new QVBoxLayout(ViewPanel);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    macroButton = new QToolButton(PanelSpace);
    macroButton->setAutoRaise(true);
    macroButton->setArrowType(Qt::DownArrow);
    top->addWidget(fileToolBar);
    top->addWidget(ViewPanel, 1);
    top->addWidget(macroButton);
    outer->addWidget(PanelSpace);

    mainSplit = new QSplitter(Qt::Horizontal, central);
    mainSplit->setChildrenCollapsible(false);
    pcLeft = new QTabWidget(mainSplit);
    navSplit = new QSplitter(Qt::Vertical);
    navSplit->addWidget(emptyPage(navSplit)); // folder tree
    navSplit->addWidget(emptyPage(navSplit)); // file list
    // The project panel: the project list and its button above the folder tree and files.
    auto* projectPage = new QWidget(pcLeft);
    auto* projectLayout = new QVBoxLayout(projectPage);
    projectLayout->setContentsMargins(2, 2, 2, 0);
    projectLayout->setSpacing(2);
    auto* projectRow = new QHBoxLayout;
    cbProjects = new QComboBox(projectPage);
    cbProjects->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbProjects->setMinimumContentsLength(8);
    btnProject = new QToolButton(projectPage);
    btnProject->setPopupMode(QToolButton::MenuButtonPopup);
    projectRow->addWidget(cbProjects, 1);
    projectRow->addWidget(btnProject);
    projectLayout->addLayout(projectRow);
    projectLayout->addWidget(navSplit, 1);
    pcLeft->addTab(projectPage, T_("Project management"));
    pcLeft->addTab(emptyPage(pcLeft), T_("Search in files"));
    pcLeft->addTab(emptyPage(pcLeft), T_("Local anchors"));

    auto* right = new QWidget(mainSplit);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    topSplit = new QSplitter(Qt::Vertical, right);
    pcTop = new QTabWidget(topSplit);
    macroSplit = new QSplitter(Qt::Horizontal);
    macroSplit->addWidget(emptyPage(macroSplit)); // macro list
    macroSplit->addWidget(emptyPage(macroSplit)); // macro text
    pcTop->addTab(macroSplit, T_("Text macros"));
    pcTop->addTab(emptyPage(pcTop), T_("Search results"));
    docArea = new QStackedWidget(topSplit);
    topSplit->addWidget(pcTop);
    topSplit->addWidget(docArea);
    topSplit->setCollapsible(1, false);
    tabs = new TFileTabBar(right);
    tabs->setExpanding(false);
    tabs->setDocumentMode(true);
    tabs->setShape(QTabBar::RoundedSouth);
    rightLayout->addWidget(topSplit, 1);
    rightLayout->addWidget(tabs);
    mainSplit->addWidget(pcLeft);
    mainSplit->addWidget(right);
    // When the window changes size, the documents take the difference, not the side panels.
    mainSplit->setStretchFactor(0, 0);
    mainSplit->setStretchFactor(1, 1);
    navSplit->setStretchFactor(0, 0);
    navSplit->setStretchFactor(1, 1);
    topSplit->setStretchFactor(0, 0);
    topSplit->setStretchFactor(1, 1);
    macroSplit->setStretchFactor(0, 0);
    macroSplit->setStretchFactor(1, 1);
    outer->addWidget(mainSplit, 1);

    // The height the user drags the upper panel to is the one it comes back with.
    connect(topSplit, &QSplitter::splitterMoved, this, [this] {
        const int h = topSplit->sizes().value(0);
        if (h > 0)
            m_editSplit = h;
    });
    showTopPanel(false);
}

bool TMainLayout::topPanelShown() const {
    return topSplit->sizes().value(0) > 0;
}

void TMainLayout::showTopPanel(bool show) {
    setFirst(topSplit, show ? m_editSplit : 0, m_editSplit + 300);
    macroButton->setArrowType(show ? Qt::UpArrow : Qt::DownArrow);
}

void TMainLayout::apply(const TFormSettings& form) {
    m_editSplit = form.EditSplit;
    setFirst(mainSplit, form.FormSplit, form.FormSplit + 600);
    setFirst(navSplit, form.NavSplit, form.NavSplit + 200);
    setFirst(macroSplit, form.MacroSplit, form.MacroSplit + 400);
    showTopPanel(topPanelShown());
}

void TMainLayout::capture(TFormSettings& form) const {
    form.FormSplit = mainSplit->sizes().value(0, form.FormSplit);
    form.NavSplit = navSplit->sizes().value(0, form.NavSplit);
    form.MacroSplit = macroSplit->sizes().value(0, form.MacroSplit);
    form.EditSplit = m_editSplit;
}

} // namespace orvel
