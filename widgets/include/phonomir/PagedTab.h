// A tab control that hosts child pages and creates each page the first time its tab is shown.
// Pages are never destroyed on switching, so their controls keep their state. A tab without a
// page is a plain selector. broadcast() sends a TabBroadcastEvent to every page that exists.
// UI thread only.
#pragma once

#include <QEvent>
#include <QTabBar>
#include <QWidget>

#include <functional>
#include <vector>

namespace phonomir {

// What broadcast() delivers to each page (the sampling rate changed, for example).
class TabBroadcastEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 2027);
    explicit TabBroadcastEvent(int value) : QEvent(kType), value_(value) {}
    int value() const { return value_; }

private:
    int value_;
};

class PagedTab : public QWidget {
    Q_OBJECT
public:
    // Creates a page's widget; the page's parent is the tab's display area.
    using PageFactory = std::function<QWidget*(QWidget* parent)>;

    explicit PagedTab(QWidget* parent = nullptr);

    // An empty factory makes a plain selector tab.
    void addPage(PageFactory factory, int templateId, const QString& caption);
    void selectPage(int index);
    void broadcast(int value);

    int count() const { return static_cast<int>(pages_.size()); }
    int currentIndex() const { return tabs_->currentIndex(); }
    // The page's widget, or null when it has not been created (or has no factory).
    QWidget* page(int index) const;
    int templateId(int index) const;
    QTabBar* tabBar() const { return tabs_; }

signals:
    // After the page for the new selection is shown.
    void pageSelected(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Page {
        PageFactory factory;
        int templateId;
        QWidget* widget = nullptr;
    };
    void centre(QWidget* page) const;

    QTabBar* tabs_;
    QWidget* area_;
    std::vector<Page> pages_;
};

}  // namespace phonomir
