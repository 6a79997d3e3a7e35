#include "main_form.h"

#include "ui_main_form.h"

#include "about/about_box.h"
#include "handoff/send_to_word.h"
#include "library/catalogue.h"
#include "library/display.h"
#include "library/document_store.h"
#include "ui/application.h"
#include "ui/image_list.h"

namespace quillmar {

TForm1 *Form1 = nullptr;

namespace {

// The display's view of the viewer.
class RichEditViewer final : public library::DocumentViewer {
  public:
    explicit RichEditViewer(ui::TRichEdit &edit)
        : m_edit(edit)
    {
    }
    void Clear() override { m_edit.Lines()->Clear(); }
    void LoadFromFile(const std::string &path) override { m_edit.Lines()->LoadFromFile(path); }

  private:
    ui::TRichEdit &m_edit;
};

QStringList imageFiles(const QString &pattern, int count)
{
    QStringList files;
    for (int i = 0; i < count; ++i)
        files.push_back(pattern.arg(i));
    return files;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::TForm1>())
{
    // 1. The stored layout, its pictures and the catalogue as the tree's nodes.
    m_ui->setupUi(this);
    ui::CentreOnScreen(this);
    m_imageList1 =
        new ui::TImageList(QStringLiteral("ImageList1"), QSize(16, 16),
                           imageFiles(QStringLiteral(":/quillmar/images/list1_%1.png"), 8), this);
    m_imageList2 =
        new ui::TImageList(QStringLiteral("ImageList2"), QSize(32, 32),
                           imageFiles(QStringLiteral(":/quillmar/images/list2_%1.png"), 7), this);
    for (QToolButton *button : {m_ui->ToolButton5, m_ui->ToolButton7})
        button->setIcon(m_imageList2->Icon(button->property("imageIndex").toInt()));

    ui::TTreeView *tree = m_ui->TreeView1;
    const int nodeImage = tree->property("imageIndex").toInt();
    tree->SetImages({m_imageList1->Icon(nodeImage)});
    ui::TTreeNode *heading = nullptr;
    for (const library::CatalogueEntry &entry : library::DocumentCatalogue::Entries()) {
        const QString title = QString::fromUtf8(entry.Title.data(), qsizetype(entry.Title.size()));
        if (entry.Level == 0)
            heading = tree->AddNode(nullptr, title, 0);
        else
            tree->AddNode(heading, title, 0);
    }
    tree->setFocus();

    connect(tree, &ui::TTreeView::Change, this, &TForm1::TreeView1Change);
    connect(m_ui->Find1, &QAction::triggered, this, &TForm1::Find1Click);
    connect(m_ui->SendtoWord1, &QAction::triggered, this, &TForm1::SendtoWord1Click);
    connect(m_ui->ToolButton5, &QToolButton::clicked, this, &TForm1::ToolButton5Click);
    connect(m_ui->About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(m_ui->ToolButton7, &QToolButton::clicked, this, &TForm1::ToolButton7Click);

    // 2. A working file left by an earlier run goes; the working folder is made.
    library::DocumentStore::PrepareWorkingFolder();

    // 3. The layout's placeholder line goes too.
    m_ui->RichEdit1->Lines()->Clear();
}

TForm1::~TForm1() = default;

void TForm1::TreeView1Change(ui::TTreeNode *)
{
    const ui::TTreeNode *selected = m_ui->TreeView1->Selected();
    if (!selected)
        return;
    RichEditViewer viewer(*m_ui->RichEdit1);
    library::ShowCatalogueEntry(selected->AbsoluteIndex(), viewer);
}

void TForm1::Find1Click()
{
    library::DocumentStore::DeleteWorkingFile();
    close();
}

void TForm1::SendtoWord1Click()
{
    const ui::TTreeNode *selected = m_ui->TreeView1->Selected();
    handoff::SendToWord(selected ? std::optional(selected->Text().toStdString()) : std::nullopt);
}

void TForm1::ToolButton5Click()
{
    const ui::TTreeNode *selected = m_ui->TreeView1->Selected();
    handoff::SendToWord(selected ? std::optional(selected->Text().toStdString()) : std::nullopt);
}

void TForm1::About1Click()
{
    about::AboutBox->ShowModal();
}

void TForm1::ToolButton7Click()
{
    about::AboutBox->ShowModal();
}

} // namespace quillmar
