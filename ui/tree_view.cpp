#include "tree_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace ui {

TTreeNode::TTreeNode(const QString &text)
    : QTreeWidgetItem(QStringList{text})
{
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

int TTreeNode::AbsoluteIndex() const
{
    int steps = 0;
    auto *node = const_cast<QTreeWidgetItem *>(static_cast<const QTreeWidgetItem *>(this));
    for (;;) {
        QTreeWidgetItem *parentNode = node->parent();
        const int row = parentNode ? parentNode->indexOfChild(node)
                                   : node->treeWidget()->indexOfTopLevelItem(node);
        if (row > 0) {
            node =
                parentNode ? parentNode->child(row - 1) : node->treeWidget()->topLevelItem(row - 1);
            while (node->childCount() > 0)
                node = node->child(node->childCount() - 1);
        } else if (parentNode) {
            node = parentNode;
        } else {
            return steps;
        }
        ++steps;
    }
}

namespace {

// Counts nested events so a Change is raised once the outermost one has finished.
class DepthGuard final {
  public:
    explicit DepthGuard(int &depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

  private:
    int &m_depth;
};

// The selection is hidden while the tree has no focus.
void showSelection(QWidget *tree, bool show)
{
    QPalette palette = tree->palette();
    const QPalette standard = tree->style()->standardPalette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight,
                         show ? standard.color(QPalette::Active, QPalette::Highlight)
                              : palette.color(group, QPalette::Base));
        palette.setColor(group, QPalette::HighlightedText,
                         show ? standard.color(QPalette::Active, QPalette::HighlightedText)
                              : palette.color(group, QPalette::Text));
    }
    tree->setPalette(palette);
}

} // namespace

TTreeView::TTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    // One column as wide as the widest visible title, so long titles scroll sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setIndentation(19);
    setIconSize(QSize(16, 16));
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setMouseTracking(true);
    showSelection(this, false);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TTreeView::noteSelectionChanged);
}

TTreeNode *TTreeView::AddNode(TTreeNode *parent, const QString &text, int imageIndex)
{
    auto *node = new TTreeNode(text);
    if (imageIndex >= 0 && imageIndex < m_images.size())
        node->setIcon(0, m_images.at(imageIndex));
    if (parent)
        parent->addChild(node);
    else
        addTopLevelItem(node);
    return node;
}

TTreeNode *TTreeView::Selected() const
{
    const QList<QTreeWidgetItem *> items = selectedItems();
    return items.isEmpty() ? nullptr : static_cast<TTreeNode *>(items.first());
}

void TTreeView::noteSelectionChanged()
{
    m_changePending = true;
    // A change made by code outside any event of ours is reported at once.
    if (m_eventDepth == 0)
        raisePendingChange();
}

void TTreeView::raisePendingChange()
{
    m_changePending = false;
    TTreeNode *node = Selected();
    if (node == m_reported)
        return;
    m_reported = node;
    Q_EMIT Change(node);
}

bool TTreeView::event(QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        showSelection(this, event->type() == QEvent::FocusIn);
    bool handled = false;
    {
        DepthGuard guard(m_eventDepth);
        handled = QTreeWidget::event(event);
    }
    // Raised here, after the view and its selection model have finished with the event, so
    // a handler that throws leaves them consistent.
    if (m_eventDepth == 0 && m_changePending)
        raisePendingChange();
    return handled;
}

bool TTreeView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (!showCutOffTitle(help->pos(), help->globalPos()))
            QToolTip::hideText();
        return true;
    }
    bool handled = false;
    {
        DepthGuard guard(m_eventDepth);
        handled = QTreeWidget::viewportEvent(event);
    }
    if (m_eventDepth == 0 && m_changePending)
        raisePendingChange();
    return handled;
}

bool TTreeView::showCutOffTitle(const QPoint &viewportPos, const QPoint &globalPos)
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QRect cell = visualRect(index);
    const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
    const QRect item(cell.left(), cell.top(), width, cell.height());
    if (item.left() >= 0 && item.right() < viewport()->width())
        return false;
    QToolTip::showText(globalPos, index.data(Qt::DisplayRole).toString(), viewport(), item);
    return true;
}

void TTreeView::keyPressEvent(QKeyEvent *event)
{
    QTreeWidget::keyPressEvent(event);
    // Focus alone makes the first node current without selecting it; a move key that leaves
    // the cursor there (Home, say) selects it as a move onto it would.
    static const int moveKeys[] = {Qt::Key_Home, Qt::Key_End,    Qt::Key_Up,
                                   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
    if (!Selected() && currentIndex().isValid()
        && std::find(std::begin(moveKeys), std::end(moveKeys), event->key()) != std::end(moveKeys))
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QItemSelectionModel::SelectionFlags TTreeView::selectionCommand(const QModelIndex &index,
                                                                const QEvent *event) const
{
    QItemSelectionModel::SelectionFlags flags = QTreeWidget::selectionCommand(index, event);
    // Once a node is selected one stays selected: Ctrl+click or Ctrl+Space on it keeps it.
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
        if (selectionModel()->isSelected(index))
            return QItemSelectionModel::NoUpdate;
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    }
    return flags;
}

void TTreeView::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    // Dotted connecting lines, root level included, and a boxed plus or minus on every node
    // that has children.
    const int indent = indentation();
    const int midY = rect.top() + rect.height() / 2;
    const QColor lineColour(128, 128, 128);

    auto dottedVertical = [&](int x, int y0, int y1) {
        for (int y = y0 + ((y0 + x) & 1); y <= y1; y += 2)
            painter->fillRect(x, y, 1, 1, lineColour);
    };
    auto dottedHorizontal = [&](int x0, int x1, int y) {
        for (int x = x0 + ((x0 + y) & 1); x <= x1; x += 2)
            painter->fillRect(x, y, 1, 1, lineColour);
    };
    auto hasNextSibling = [&](const QModelIndex &i) { return i.sibling(i.row() + 1, 0).isValid(); };

    // The node's own cell is the rightmost; its ancestors' cells lie to the left.
    int cellLeft = rect.right() + 1 - indent;
    const int ownMidX = cellLeft + indent / 2;
    dottedHorizontal(ownMidX, cellLeft + indent - 1, midY);
    dottedVertical(ownMidX, rect.top(), midY);
    if (hasNextSibling(index))
        dottedVertical(ownMidX, midY, rect.bottom());
    for (QModelIndex ancestor = index.parent(); ancestor.isValid(); ancestor = ancestor.parent()) {
        cellLeft -= indent;
        if (hasNextSibling(ancestor))
            dottedVertical(cellLeft + indent / 2, rect.top(), rect.bottom());
    }

    if (model()->hasChildren(index)) {
        const QRect box(ownMidX - 4, midY - 4, 9, 9);
        painter->fillRect(box, palette().color(QPalette::Base));
        painter->setPen(lineColour);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        painter->setPen(palette().color(QPalette::Text));
        painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
        if (!isExpanded(index))
            painter->drawLine(ownMidX, box.top() + 2, ownMidX, box.bottom() - 2);
    }
}

} // namespace ui
