#pragma once

// The main window: the catalogue tree on the left, the viewer on the right, a tool bar and
// a menu bar. Its layout is main_form.ui; this file holds its construction and handlers.

#include <QMainWindow>

#include <memory>

namespace Ui {
class TForm1;
}

namespace ui {
class TImageList;
class TTreeNode;
} // namespace ui

namespace quillmar {

class TForm1 final : public QMainWindow {
    Q_OBJECT

  public:
    // Builds the window from its layout with the catalogue in the tree, prepares the working
    // folder and empties the viewer. The window is not shown.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;
    Q_DISABLE_COPY_MOVE(TForm1)

    // Handlers. None catches: a failure reaches the application's error box.
    void TreeView1Change(ui::TTreeNode *node);
    void Find1Click();
    void SendtoWord1Click();
    void ToolButton5Click();
    void About1Click();
    void ToolButton7Click();

  private:
    std::unique_ptr<Ui::TForm1> m_ui;
    ui::TImageList *m_imageList1 = nullptr;
    ui::TImageList *m_imageList2 = nullptr;
};

// The main window, set by the application object when it creates it.
extern TForm1 *Form1;

} // namespace quillmar
