#include "app/plate_map_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/plot/plate_map_view.h"
#include "app/text_encoding.h"
#include "fitting/fit_flags.h"
#include "plate/import_fields.h"
#include "shared/number_format.h"

namespace movra {

namespace {

QLineEdit* RangeEdit(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaximumWidth(110);
    return edit;
}

const QString kMarkHelp = QStringLiteral(
    "Grey: no result. A red corner marks a flagged well, a cross a failed fit; a black line "
    "outlines the wells of each sample. Click a well to see its curve.\n\n");

} // namespace

PlateMapPage::PlateMapPage(const PlateLayout& layout, const FitResults& fits, QWidget* parent)
    : QWidget(parent),
      view_(new PlateMapView(layout, fits)),
      quantity_(new QComboBox),
      rangeMin_(RangeEdit(QStringLiteral("MapRangeMin"))),
      rangeMax_(RangeEdit(QStringLiteral("MapRangeMax"))),
      autoRange_(new QCheckBox(QStringLiteral("Auto range"))),
      flagHelp_(new QLabel(QStringLiteral("<u>Marks</u>"))),
      fitAll_(new QPushButton(QStringLiteral("Fit all")))
{
    setObjectName(QStringLiteral("PlateMap"));
    view_->setObjectName(QStringLiteral("MapView"));
    quantity_->setObjectName(QStringLiteral("MapQuantity"));
    for (const movra::MapQuantity& quantity : MapQuantities())
        quantity_->addItem(DataText(MapQuantityName(quantity)));
    autoRange_->setObjectName(QStringLiteral("MapAutoRange"));
    autoRange_->setChecked(true);
    flagHelp_->setObjectName(QStringLiteral("MapMarks"));
    flagHelp_->setToolTip(kMarkHelp + DataText(kFitFlagHelp));
    fitAll_->setObjectName(QStringLiteral("MapFitAllBut"));
    fitAll_->setToolTip(QStringLiteral("Fit every assigned well of the plate (Ctrl+Shift+F)"));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(new QLabel(QStringLiteral("Colour by")));
    bar->addWidget(quantity_);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("from")));
    bar->addWidget(rangeMin_);
    bar->addWidget(new QLabel(QStringLiteral("to")));
    bar->addWidget(rangeMax_);
    bar->addWidget(autoRange_);
    bar->addSpacing(12);
    bar->addWidget(flagHelp_);
    bar->addStretch(1);
    bar->addWidget(fitAll_);

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(0, 0, 0, 0);
    layoutBox->setSpacing(0);
    layoutBox->addLayout(bar);
    layoutBox->addWidget(view_, 1);

    connect(quantity_, &QComboBox::currentIndexChanged, this, [this] { applyOptions(); });
    connect(autoRange_, &QCheckBox::toggled, this, [this] { applyOptions(); });
    for (QLineEdit* edit : {rangeMin_, rangeMax_})
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            const QSignalBlocker quiet(autoRange_);
            autoRange_->setChecked(false);
            applyOptions();
        });
    connect(view_, &PlateMapView::Painted, this, [this] { showRange(); });
    applyOptions();
}

void PlateMapPage::Refresh()
{
    view_->update();
}

void PlateMapPage::applyOptions()
{
    PlateMapOptions options;
    const std::vector<movra::MapQuantity> quantities = MapQuantities();
    options.Quantity = quantities.at(static_cast<std::size_t>(std::max(quantity_->currentIndex(), 0)));
    double low = 0.0, high = 0.0;
    if (!autoRange_->isChecked() && TryParseCellValue(DataBytes(rangeMin_->text()), low) &&
        TryParseCellValue(DataBytes(rangeMax_->text()), high))
        options.Range = ScaleRange{std::min(low, high), std::max(low, high)};
    const bool status = options.Quantity.Kind == MapQuantityKind::Status;
    rangeMin_->setEnabled(!status);
    rangeMax_->setEnabled(!status);
    view_->SetOptions(options);
}

void PlateMapPage::showRange()
{
    // The boxes show the range in use unless the user is typing one.
    if ((!autoRange_->isChecked() && view_->Options().Range) || rangeMin_->hasFocus() || rangeMax_->hasFocus())
        return;
    const auto& range = view_->Picture().Range;
    rangeMin_->setText(range ? DataText(FormatGeneral(RoundSignificant(range->Min, 6))) : QString());
    rangeMax_->setText(range ? DataText(FormatGeneral(RoundSignificant(range->Max, 6))) : QString());
}

} // namespace movra
