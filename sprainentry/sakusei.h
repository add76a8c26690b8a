#pragma once
#include "platform/DataRoot.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TForm6;
}
namespace tables {
class Table;
}
namespace widgets {
class DataSource;
class Shape;
} // namespace widgets

// The sprain/bruise receipt window. The form itself lives in sakusei.ui;
// every button runs the slot named after it under the standard error guard.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    // `mode` picks one of the alternative layouts ('a', 'b', 'c'); none keeps the designed one.
    explicit TForm6(const QString& databaseFolder = platform::databaseFolder(),
                    std::optional<char> mode = std::nullopt, QWidget* parent = nullptr);
    ~TForm6() override;

    tables::Table* const Table1; // fee table, opened with its typed field list
    tables::Table* const Table2; // base-fee table (price list), never edited
    tables::Table* const Table3; // extra-fee table
    widgets::DataSource* const DataSource1;
    widgets::DataSource* const DataSource2;
    widgets::DataSource* const DataSource3;

public slots:
    // Visit and treatment fees.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();
    // Travel, surcharges, information fee.
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void Button22Click();
    void Button23Click();
    void Button24Click();
    // Long-term aftercare.
    void Button25Click();
    void Button26Click();
    void Button27Click();
    // Night/storm surcharge and metal splints.
    void Button28Click();
    void Button29Click();
    void Button33Click();
    void Button34Click();

    // Commands.
    void Button30Click(); // full reset
    void Button31Click(); // force edit
    void Button32Click(); // calculation
    void Button35Click(); // back
    void Button37Click(); // end editing
    void Button38Click(); // help
    void Button40Click(); // reset the fee outside insurance

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void applyMode(char mode);

    // Visit, treatment-kind and long-term aftercare buttons, and the
    // onset-order checks they run (visit_buttons.cpp, treatment_buttons.cpp,
    // onset_checks.cpp).
    enum class TreatmentKind { First, FirstWithCold, Aftercare, AftercareWarmElectro, LongTerm };
    void pressVisitFee(int button);
    void pressTreatment(int site, TreatmentKind kind);
    void withdrawFirstVisitSurcharges();
    void runOnsetChecks(int button, const std::function<void()>& refuse);
    void showNote(const char* note);
    // Indicator by its number (ShapeN); the toggle rule every fee button follows.
    widgets::Shape* indicator(int number) const;
    void toggleFee(int indicatorNumber, const std::function<void()>& apply, const std::function<void()>& withdraw);

    // Travel, time surcharges, information fee, night/storm surcharge and
    // metal splints (fee_buttons.cpp); `row` is the button's row in its
    // family's table there.
    void travelBand(int row);
    void timeSurcharge(int row);
    void informationFee();
    void nightStormSurcharge();
    void metalSplint(int row);

    std::unique_ptr<Ui::TForm6> ui;
    // Shape1-Shape28 and Shape31-Shape33 by number; null where there is none.
    std::array<widgets::Shape*, 34> m_indicatorByNumber{};
};
