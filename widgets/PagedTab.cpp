#include "phonomir/PagedTab.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace phonomir {

PagedTab::PagedTab(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)), area_(new QWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(area_, 1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        selectPage(index);
        emit pageSelected(index);
    });
}

void PagedTab::addPage(PageFactory factory, int templateId, const QString& caption) {
    pages_.push_back({std::move(factory), templateId, nullptr});
    const QSignalBlocker blocker(tabs_);  // the first tab becomes current without creating its page
    tabs_->addTab(caption);
}

QWidget* PagedTab::page(int index) const {
    return index >= 0 && index < count() ? pages_[static_cast<std::size_t>(index)].widget : nullptr;
}

int PagedTab::templateId(int index) const {
    return index >= 0 && index < count() ? pages_[static_cast<std::size_t>(index)].templateId : -1;
}

void PagedTab::centre(QWidget* page) const {
    page->adjustSize();
    page->move((area_->width() - page->width()) / 2, (area_->height() - page->height()) / 2);
}

void PagedTab::selectPage(int index) {
    if (tabs_->currentIndex() != index) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(index);
    }
    for (int i = 0; i < count(); ++i) {
        Page& page = pages_[static_cast<std::size_t>(i)];
        if (i == index && page.factory && page.widget == nullptr) {
            page.widget = page.factory(area_);
            centre(page.widget);
        }
        if (page.widget) page.widget->setVisible(i == index);
    }
}

void PagedTab::broadcast(int value) {
    for (const Page& page : pages_) {
        if (!page.widget) continue;
        TabBroadcastEvent event(value);
        QCoreApplication::sendEvent(page.widget, &event);
    }
}

void PagedTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const Page& page : pages_) {
        if (page.widget) centre(page.widget);
    }
}

}  // namespace phonomir
