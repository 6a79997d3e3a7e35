#pragma once

// The About box: product, version, publisher and subtitle beside the publisher's logo. One
// instance lives for the whole run and is shown modally on demand.

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

namespace about {

class TAboutBox final : public QDialog {
    Q_OBJECT

  public:
    // Builds the box from its layout and decodes the logo; hidden until ShowModal.
    explicit TAboutBox(QWidget *parent = nullptr);
    ~TAboutBox() override;
    Q_DISABLE_COPY_MOVE(TAboutBox)

    // Shows the box and returns when it is closed: OK's modal result (1) when OK or Enter
    // closed it, 0 for the close box.
    int ShowModal();

    void OKButtonClick();

  protected:
    // Esc does nothing: the box has no cancel button.
    void keyPressEvent(QKeyEvent *event) override;

  private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
};

// The About box, set by the application object when it creates it.
extern TAboutBox *AboutBox;

} // namespace about
