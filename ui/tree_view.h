#pragma once

// A tree of text nodes with the selection semantics the program's handlers expect: a Change
// event once per real move of the selection, mouse or keyboard, raised after the move has
// completed; the selected node; and a node's position in a pre-order walk of the whole tree.

#include <QTreeWidget>

namespace ui {

class TTreeNode final : public QTreeWidgetItem {
  public:
    explicit TTreeNode(const QString &text);

    QString Text() const { return text(0); }

    // Steps back to the first root node: to the previous sibling's deepest last descendant,
    // or to the parent when there is no previous sibling. Independent of what is expanded.
    int AbsoluteIndex() const;
};

class TTreeView final : public QTreeWidget {
    Q_OBJECT

  public:
    explicit TTreeView(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TTreeView)

    // Adds a node under `parent` (a root when null) showing image `imageIndex` of Images().
    TTreeNode *AddNode(TTreeNode *parent, const QString &text, int imageIndex);

    // The selected node; null before the first selection.
    TTreeNode *Selected() const;

    // The 16 x 16 pictures nodes show; set before nodes are added.
    void SetImages(QList<QIcon> images) { m_images = std::move(images); }

  Q_SIGNALS:
    // The selection moved to `node`. Handlers may throw: the selection is complete by then.
    void Change(ui::TTreeNode *node);

  protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void drawBranches(QPainter *painter, const QRect &rect,
                      const QModelIndex &index) const override;

  private:
    void noteSelectionChanged();
    void raisePendingChange();
    bool showCutOffTitle(const QPoint &viewportPos, const QPoint &globalPos);

    QList<QIcon> m_images;
    QTreeWidgetItem *m_reported = nullptr; // the node the last Change named
    bool m_changePending = false;
    int m_eventDepth = 0;
};

} // namespace ui
