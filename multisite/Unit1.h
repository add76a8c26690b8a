#pragma once
#include "platform/DataRoot.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QLineEdit;
namespace Ui { class TForm1; }
namespace tables { class Table; }
namespace widgets { class DataSource; class Shape; }

// The multi-site entry window. Every control is laid out in Unit1.ui; the
// handlers keep the designer names so a press on ButtonN runs ButtonNClick.
// Handlers of one family are one line each over that family's routine.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // `mode` picks one of the reduced layouts 'a', 'b', 'c'; none shows every control.
    explicit TForm1(const QString& databaseFolder = platform::databaseFolder(),
                    std::optional<char> mode = std::nullopt, QWidget* parent = nullptr);
    ~TForm1() override;

    tables::Table* Table1; // fee table: the visit record
    tables::Table* Table2; // extra-fee table
    tables::Table* Table3; // base-fee table: the price list, only read
    widgets::DataSource* DataSource1;
    widgets::DataSource* DataSource2;

public Q_SLOTS:
    void FormCreate();
    void FormClose();

    // resets, edit state, help and close
    void Button1Click();
    void Button74Click();
    void Button75Click();
    void Button76Click();
    void Button77Click();
    void Button105Click();
    void Button106Click();
    void Button107Click();
    void Button108Click();
    void Button109Click();
    void Button110Click();

    // calculation
    void Button73Click();

    // injury buttons, eleven rows by five sites
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
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void Button22Click();
    void Button23Click();
    void Button24Click();
    void Button25Click();
    void Button26Click();
    void Button27Click();
    void Button28Click();
    void Button29Click();
    void Button30Click();
    void Button31Click();
    void Button32Click();
    void Button33Click();
    void Button34Click();
    void Button35Click();
    void Button36Click();
    void Button37Click();
    void Button38Click();
    void Button39Click();
    void Button40Click();
    void Button41Click();
    void Button42Click();
    void Button43Click();
    void Button44Click();
    void Button45Click();
    void Button46Click();
    void Button47Click();
    void Button48Click();
    void Button49Click();
    void Button50Click();
    void Button51Click();
    void Button52Click();
    void Button53Click();
    void Button54Click();
    void Button55Click();
    void Button56Click();

    // aftercare, compress and therapy toggles of sites 1-3
    void Button57Click();
    void Button58Click();
    void Button59Click();
    void Button78Click();
    void Button79Click();
    void Button80Click();
    void Button81Click();
    void Button82Click();
    void Button83Click();
    void Button84Click();
    void Button85Click();
    void Button86Click();
    void Button87Click();
    void Button88Click();
    void Button89Click();
    void Button90Click();
    void Button91Click();
    void Button92Click();
    void Button93Click();
    void Button94Click();
    void Button95Click();
    void Button96Click();
    void Button97Click();
    void Button98Click();
    void Button99Click();
    void Button100Click();
    void Button101Click();

    // visit fees, travel, surcharges and splints
    void Button60Click();
    void Button61Click();
    void Button62Click();
    void Button63Click();
    void Button64Click();
    void Button65Click();
    void Button66Click();
    void Button67Click();
    void Button68Click();
    void Button69Click();
    void Button70Click();
    void Button71Click();
    void Button72Click();
    void Button102Click();
    void Button103Click();
    void Button104Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Indicators by their designer number (Shape1..Shape28), the per-site
    // boxes by site (Edit1..Edit5): the families' descriptor tables name them so.
    widgets::Shape* indicator(int number) const { return m_indicators.at(number - 1); }
    QLineEdit* siteBox(int site) const { return m_siteBoxes.at(site - 1); }

    void applyDisplayMode(char mode);
    void siteReset(int site);
    void editRecords();
    void postRecords();
    void storeRecords();

    // aftercare, compress and therapy toggles (Unit1Aftercare.cpp): one routine
    // a family over the columns of sites 1-3; `family` 0-4 is the fracture and
    // dislocation aftercare price, in the order of the buttons
    void coldCompress(int site);
    void replaceLongTerm(int site);
    void warmCompress(int site);
    void sprainAftercare(int site);
    void longTermAftercare(int site);
    void fractureAftercare(int family, int site);

    // visit fees, travel, surcharges and splints (Unit1VisitFees.cpp), each
    // over its own small table; the argument is the row in that table
    void visitFee(int row);
    void travelBand(int band);
    void timeSurcharge(int kind);
    void nightStormSurcharge();
    void metalSplint(int size);
    bool firstExaminationPresent() const;
    void whiten(const QList<int>& shapes);
    void lightOnly(const QList<int>& group, qsizetype chosen);

    // injury grid (Unit1Injuries.cpp): the button of `row` (1-11) and `site` (1-5)
    void injuryButton(int row, int site);

    std::unique_ptr<Ui::TForm1> ui;
    std::array<widgets::Shape*, 28> m_indicators;
    std::array<QLineEdit*, 5> m_siteBoxes;
};
