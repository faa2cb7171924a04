#include "FindCommands.h"

#include "ui/common/DialogHelpers.h"
#include "ui/editing/SearchDialog.h"
#include "ui/window/CommandSupport.h"
#include "ui/window/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace vocalore {

std::optional<int> SearchDialogTop(const QRect& band, const QRect& dialog, int screenHeight) {
    if (!band.intersects(dialog))
        return std::nullopt;
    const int bandTop = band.top();
    const int bandBottom = band.top() + band.height();
    if (bandTop + bandBottom > screenHeight)
        return bandTop - dialog.height();
    return bandBottom;
}

TFindCommands::TFindCommands(TMainForm& form)
    : FForm(form), FDialog(new TSearchDialog(&form, form.SearchData(), [this] {
          FForm.RunCommand([this] { miEditFindNextClick(); });
      })) {}

void TFindCommands::miEditFindClick() {
    const TVocabFile& document = FForm.Document();
    if (!FDialog->isVisible()) {
        FDialog->SetLanguages(document.ForeignLangID, document.NativeLangID);
        PlaceDialog(FDialog, &FForm);
    }
    FDialog->show();
    FDialog->raise();
    FDialog->activateWindow();
}

void TFindCommands::miEditFindNextClick() {
    TVocabFile& document = FForm.Document();
    int32_t found = -1;
    {
        TWaitCursor wait;
        found = document.FindNext(FForm.SearchData());
    }
    if (found == -1) {
        QWidget* parent = FDialog->isVisible() ? static_cast<QWidget*>(FDialog) : &FForm;
        ShowMessageBox(QStringLiteral("Search text not found."), QStringLiteral("Find"),
                       TMsgIcon::Information, mbOK, mbNone, parent);
        return;
    }
    if (found == document.CurrentIndex())
        return;
    FForm.Grid()->SelectRow(found);
    if (FDialog->isVisible())
        MoveSearchDialog();
}

void TFindCommands::MoveSearchDialog() {
    TVocabGrid* grid = FForm.Grid();
    QWidget* viewport = grid->viewport();
    const QRect row = grid->RowRect(grid->Row());
    const QPoint topLeft = viewport->mapToGlobal(QPoint(0, row.top()));
    const int height = grid->RowHeight();
    const QRect band(topLeft.x(), topLeft.y() - height, viewport->width(), 3 * height);
    const QRect dialog = FDialog->frameGeometry();
    QScreen* screen = FDialog->screen() ? FDialog->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (const std::optional<int> top = SearchDialogTop(band, dialog, screen->geometry().height()))
        FDialog->move(FDialog->x(), FDialog->y() + (*top - dialog.top()));
}

void TFindCommands::CloseDialog() {
    if (FDialog->isVisible())
        FDialog->close();
}

} // namespace vocalore
