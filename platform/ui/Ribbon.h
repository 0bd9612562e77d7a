#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>

class CommandRouter;
class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QVBoxLayout;
class Ribbon;

// A group of controls under a caption. Large buttons take a column of their own; small controls
// stack three to a column.
class RibbonPanel : public QWidget {
    Q_OBJECT
public:
    RibbonPanel(Ribbon* ribbon, const QString& name, QWidget* parent);

    QString Name() const { return m_Name; }

    QToolButton* AddButton(int id, const QString& text, const QIcon& icon = {}, bool large = false);
    QCheckBox* AddCheckBox(int id, const QString& text);
    // An edit with its label in front; width in pixels of the edit.
    QLineEdit* AddEdit(int id, const QString& label, int width);
    // A drop-down list with its label; the first item is selected.
    QComboBox* AddComboBox(int id, const QString& label, const QStringList& items, int width = 0);
    QProgressBar* AddProgressBar(int id, int width, int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void AddSmall(QWidget* control);
    void CloseFolded();
    void AddLarge(QWidget* control);

    Ribbon* m_Ribbon;
    QString m_Name;
    QHBoxLayout* m_Columns;
    QVBoxLayout* m_SmallColumn = nullptr;
    int m_SmallRows = 0;
};

// One tab of the ribbon: its panels side by side. When the window is too narrow for all of them,
// panels fold from the right into a button each, which shows the panel below it when pressed.
class RibbonCategory : public QWidget {
    Q_OBJECT
public:
    RibbonCategory(Ribbon* ribbon, const QString& name, QWidget* parent);

    QString Name() const { return m_Name; }
    RibbonPanel* AddPanel(const QString& name);
    const QList<RibbonPanel*>& Panels() const { return m_Panels; }

    // Folds as few panels as leave the category no wider than `width` pixels.
    void Fit(int width);
    // The button standing for the panel while it is folded (hidden otherwise).
    QToolButton* FoldedButton(int index) const { return m_Folded.value(index); }
    // Shows the folded panel below its button.
    void ShowFolded(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ribbon* m_Ribbon;
    QString m_Name;
    QHBoxLayout* m_Layout;
    QList<RibbonPanel*> m_Panels;
    QList<QToolButton*> m_Folded;
    QList<QFrame*> m_Popups;
};

// The ribbon bar: the application button with the File commands and the recent files, the
// categories (tabs) with their panels, and menus at the right end ("Style", help). Every control
// carries a command id; choosing it emits commandTriggered, and UpdateCommandUI brings the enabled
// and checked states up to date from the command route (a control whose command nobody handles is
// disabled).
class Ribbon : public QWidget {
    Q_OBJECT
public:
    explicit Ribbon(QWidget* parent = nullptr);
    ~Ribbon() override;

    // The ribbon of the main window, for views that read and set its controls.
    static Ribbon* Main();
    static void SetMain(Ribbon* ribbon);

    RibbonCategory* AddCategory(const QString& name);
    int GetCategoryCount() const { return m_Categories.size(); }
    RibbonCategory* GetCategory(int index) const;
    RibbonCategory* FindCategory(const QString& name) const;
    RibbonCategory* GetActiveCategory() const;
    void SetActiveCategory(RibbonCategory* category);

    // The control of the first element with the id (button, check box, edit, combo or progress
    // bar), or null.
    QWidget* FindByID(int id) const;
    QAbstractButton* FindButton(int id) const;
    QLineEdit* FindEdit(int id) const;
    QComboBox* FindComboBox(int id) const;
    QProgressBar* FindProgressBar(int id) const;
    // The menu command (application menu, right-hand menus) with the id, or null.
    QAction* FindAction(int id) const;

    // ---- the application button ----
    void SetApplicationButtonText(const QString& text);
    QAction* AddApplicationCommand(int id, const QString& text, const QIcon& icon = {});
    void AddApplicationSeparator();
    // The recent files the application menu lists; choosing entry i is command firstId + i.
    void SetRecentFiles(const QStringList& files, int firstId);
    QMenu* ApplicationMenu() const { return m_AppMenu; }

    // ---- menus at the right of the tabs ----
    QMenu* AddRightMenu(const QString& title, const QIcon& icon = {});
    QAction* AddMenuCommand(QMenu* menu, int id, const QString& text, bool checkable = false);
    QAction* AddRightButton(int id, const QString& toolTip, const QIcon& icon);

    // Enabled and checked states of every element and menu command, from the route.
    void UpdateCommandUI(const CommandRouter& router);

signals:
    void commandTriggered(int id);

private:
    friend class RibbonPanel;
    enum class Kind { Button, CheckBox, Edit, Combo, Progress };
    struct Element {
        int id;
        Kind kind;
        QPointer<QWidget> control;
        QPointer<QWidget> container; // what is enabled and disabled: the control with its label
    };
    void Register(int id, Kind kind, QWidget* control, QWidget* container);
    QAction* RegisterAction(int id, QAction* action);
    const Element* Find(int id) const;

    QToolButton* m_AppButton;
    QMenu* m_AppMenu;
    QAction* m_RecentSection = nullptr;
    QList<QAction*> m_RecentActions;
    QTabBar* m_Tabs;
    QStackedWidget* m_Pages;
    QHBoxLayout* m_RightArea;
    QList<RibbonCategory*> m_Categories;
    QList<Element> m_Elements;
    QList<QPair<int, QPointer<QAction>>> m_Actions;
};
