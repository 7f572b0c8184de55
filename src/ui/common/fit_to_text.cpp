#include "ui/common/fit_to_text.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "ui/common/ui_language.h"

namespace {

const char* const ReservedTextsProperty = "fitToTextReservedTexts";

// One thing fitToText moves: a child widget, or an area its parent paints itself.
// Its start and length are kept per axis (0 across, 1 down), so that moving one edge leaves the other.
struct Piece {
    QWidget* widget = nullptr;
    QRect* area = nullptr;
    std::array<int, 2> start{};
    std::array<int, 2> length{};
    std::array<int, 2> need{};

    Piece(QWidget* w, QRect* a, const QRect& r, const QSize& n)
        : widget(w),
          area(a),
          start{r.x(), r.y()},
          length{r.width(), r.height()},
          need{n.width(), n.height()} {}
    QRect rect() const { return {start[0], start[1], length[0], length[1]}; }
    int end(int axis) const { return start[axis] + length[axis]; }
};

// Qt's own widgets draw themselves, and what children they have are parts of them; anything else without a
// layout is a panel whose children are placed in pixels.
bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QProgressBar*>(w) ||
           qobject_cast<const QSplitter*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QMenuBar*>(w);
}

QSize pushButtonNeed(const QPushButton* b) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.features = QStyleOptionButton::None;
    if (b->isFlat()) opt.features |= QStyleOptionButton::Flat;
    if (b->autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
    if (b->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
    const QFontMetrics fm = b->fontMetrics();
    QSize contents = fm.size(Qt::TextShowMnemonic, b->text());
    if (!b->icon().isNull()) {
        contents.rwidth() += b->iconSize().width() + 4;
        contents.setHeight(std::max(contents.height(), b->iconSize().height()));
    }
    // The style's margins round the text, without the least width that some styles give every text button:
    // the classic buttons are narrower than that, and need only their text's room.
    opt.icon = QIcon();
    const int width = b->style()->sizeFromContents(QStyle::CT_PushButton, &opt, contents, b).width();
    // Upright, the text needs its line inside the bevel.
    opt.rect = b->rect();
    const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    return {width, fm.height() + b->height() - inside.height()};
}

QSize listNeed(const QListWidget* list) {
    // A row's text keeps the style's margin on either side, as the item views draw it.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    // In fractions of a pixel, as the rows lay their texts out: a row a fraction short is cut with an
    // ellipsis.
    const QFontMetricsF fm(list->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, static_cast<int>(std::ceil(fm.horizontalAdvance(list->item(i)->text()))));
    return {widest == 0 ? 0 : widest + 2 * margin + 2 * list->frameWidth(), list->height()};
}

QString textOf(const QWidget* w) {
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    return {};
}

void setTextOf(QWidget* w, const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
}

// What w needs for the text it shows now.
QSize shownTextNeed(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text().isEmpty()) return {};
        if (l->wordWrap()) return {l->width(), l->heightForWidth(l->width())};
        return l->sizeHint();
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) return b->text().isEmpty() ? QSize() : pushButtonNeed(b);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().isEmpty() ? QSize() : b->sizeHint();
    if (auto* list = qobject_cast<QListWidget*>(w)) return listNeed(list);
    return {};
}

// What w needs for its present text and for each text it keeps room for.
QSize textNeed(QWidget* w) {
    QSize need = shownTextNeed(w);
    const QStringList reserved = w->property(ReservedTextsProperty).toStringList();
    if (reserved.isEmpty()) return need;
    const QString shown = textOf(w);
    for (const QString& text : reserved) {
        setTextOf(w, text);
        need = need.expandedTo(shownTextNeed(w));
    }
    setTextOf(w, shown);
    return need;
}

bool heldAtFixedSize(const QWidget* w) {
    return w->minimumSize() == w->maximumSize();
}

void place(QWidget* w, const QRect& r) {
    const int growth = r.width() - w->width();
    if (heldAtFixedSize(w))
        w->setFixedSize(r.size());
    else
        w->setMaximumSize(w->maximumSize().expandedTo(r.size()));
    w->setGeometry(r);
    // A list whose rows were given their width widens them with it.
    if (auto* list = qobject_cast<QListWidget*>(w); list && growth > 0)
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            const QSize hint = item->sizeHint();
            if (hint.isValid()) item->setSizeHint(QSize(hint.width() + growth, hint.height()));
        }
}

// Opens room along axis for each piece that needs more: a cut at its far edge, as fitToText describes.
void openRoom(std::vector<Piece>& pieces, int axis, int& extent) {
    std::vector<Piece*> order;
    order.reserve(pieces.size());
    for (Piece& p : pieces) order.push_back(&p);
    std::stable_sort(order.begin(), order.end(),
                     [axis](const Piece* a, const Piece* b) { return a->end(axis) < b->end(axis); });
    for (Piece* p : order) {
        const int growth = p->need[axis] - p->length[axis];
        if (growth <= 0) continue;
        const int cut = p->end(axis);
        const int from = p->start[axis];
        for (Piece& q : pieces) {
            // What lies across the cut grows with the piece where it spans the piece's whole column, and
            // moves otherwise: either way it overlaps nothing new.
            if (q.start[axis] >= cut || (q.end(axis) >= cut && q.start[axis] > from))
                q.start[axis] += growth;
            else if (q.end(axis) >= cut)
                q.length[axis] += growth;
        }
        if (extent >= cut) extent += growth;
    }
}

// A control sized to its text before the fit (adjustSize) may already reach over the next one in its row: its
// place ends where that one starts, less the style's spacing, and opening room there moves the next one on.
void endPlacesAtNeighbours(std::vector<Piece>& pieces, int axis, int spacing) {
    const int across = 1 - axis;
    for (Piece& p : pieces)
        for (const Piece& q : pieces) {
            const bool sameRow = p.start[across] < q.end(across) && q.start[across] < p.end(across);
            if (&p != &q && sameRow && p.start[axis] < q.start[axis] && q.start[axis] < p.end(axis))
                p.length[axis] = std::max(1, q.start[axis] - spacing - p.start[axis]);
        }
}

QSize fitPlaced(QWidget* panel, const std::vector<QRect*>& areas);
void fitLaidOut(QWidget* panel);

QSize needOf(QWidget* w) {
    if (isControl(w)) return textNeed(w);
    if (w->layout()) {
        fitLaidOut(w);
        return w->minimumSizeHint();
    }
    return fitPlaced(w, {});
}

// Fits the children of a panel placed in pixels and returns the size the panel needs now.
QSize fitPlaced(QWidget* panel, const std::vector<QRect*>& areas) {
    std::vector<Piece> pieces;
    for (QObject* o : panel->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        const QRect was = w->geometry();
        pieces.emplace_back(w, nullptr, was, needOf(w));
    }
    for (QRect* a : areas) pieces.emplace_back(nullptr, a, *a, a->size());

    QSize size = panel->size();
    const QStyle* style = panel->style();
    endPlacesAtNeighbours(pieces, 0, style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, panel));
    openRoom(pieces, 0, size.rwidth());
    // A wrapped text's height follows the width it has now.
    for (Piece& p : pieces)
        if (auto* l = qobject_cast<QLabel*>(p.widget); l && l->wordWrap() && !l->text().isEmpty())
            p.need[1] = std::max(p.need[1], l->heightForWidth(p.length[0]));
    endPlacesAtNeighbours(pieces, 1, style->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, panel));
    openRoom(pieces, 1, size.rheight());
    for (const Piece& p : pieces) {
        if (p.widget)
            place(p.widget, p.rect());
        else
            *p.area = p.rect();
    }
    return size;
}

void fitLaidOut(QWidget* panel) {
    for (QObject* o : panel->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        if (!isControl(w)) {
            const QSize need = needOf(w);
            if (!w->layout() && need != w->size()) {
                w->setMinimumSize(need.expandedTo(w->minimumSize()));
                w->resize(need);
            }
            continue;
        }
        if (!heldAtFixedSize(w)) continue;
        const QSize need = textNeed(w).expandedTo(w->size());
        if (need != w->size()) w->setFixedSize(need);
    }
}

}  // namespace

void fitToText(QWidget* root, std::initializer_list<QRect*> paintedAreas) {
    if (UiLanguage::isEnglish()) return;
    if (root->layout()) {
        fitLaidOut(root);
        return;
    }
    const QSize need = fitPlaced(root, std::vector<QRect*>(paintedAreas));
    if (need == root->size()) return;
    if (heldAtFixedSize(root)) {
        root->setFixedSize(need);
        return;
    }
    // A layout above would give it back its former size.
    if (root->parentWidget() && root->parentWidget()->layout())
        root->setMinimumSize(root->minimumSize().expandedTo(need));
    root->resize(need);
}

void reserveTexts(QWidget* control, const QStringList& texts) {
    control->setProperty(ReservedTextsProperty, texts);
}
