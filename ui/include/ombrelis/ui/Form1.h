#pragma once

#include <QWidget>
#include <cstdint>
#include <ombrelis/engine/EventPump.h>
#include <ombrelis/engine/MessageBoxes.h>
#include <ombrelis/engine/SamplingRun.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/FileSystem.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/ui/Form1Controls.h>
#include <ombrelis/ui/SaveDialog.h>
#include <ombrelis/ui/WindowBinding.h>
#include <ombrelis/ui/WindowDestroyedFilter.h>
#include <string>

namespace ombrelis::ui {

/// What the window uses of the outside world.
struct Form1Services {
    platform::Clock& clock;
    engine::EventPump& pump;
    platform::Calendar& calendar;
    platform::RandomSource& random;
    platform::FileSystem& files;
    platform::PortIo& port;
    platform::MicroDelay& delay;
    engine::MessageBoxes& messages;
    SaveDialog& saveDialog;
    platform::ThreadPriority& threadPriority;
};

/// The program's one window: its controls, its seven handlers, and the sampling run that GO
/// starts inside its click, which holds the strip chart on ctlCourbe.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    /// Title, date, period list and the two initial selections. Once, before the first show.
    void Form_Load();
    /// Chart as wide as the window minus 300 twips, Line1 to match, chart reset.
    void Form_Resize();
    /// Starts a run when a file name was given; returns when the run has ended.
    void btnGO_Click();
    void btnSTOP_Click();
    /// Save dialog; the chosen path goes into ctlNomdefichier, a cancel changes nothing.
    void Command1_Click();
    void ctlAxetemps_Click();
    void ctlVitesse_Click();

    /// Clock reading at the end of the last chart reset.
    std::int64_t T0Courbe() const noexcept { return run_.chart().T0Courbe(); }

    const Form1Controls& controls() const noexcept { return c_; }
    /// True once the user closed the window during a run.
    bool closingDuringRun() const noexcept { return closing_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /// The chart reset for a handler: a failure is told to the user, and the window goes on.
    void resetChartFromHandler();
    /// The window system destroyed the window without a close request: it ends as a close.
    void windowDestroyed();

    Form1Services services_;
    Form1Controls c_;
    engine::Convertisseur convertisseur_;
    engine::Simulateur simulateur_;
    WindowBinding binding_;
    engine::SamplingRun run_;
    int runsInProgress_ = 0; // btnGO_Click frames on the stack: runs nest
    bool closing_ = false;
    WindowDestroyedFilter destroyedFilter_{*this, [this] { windowDestroyed(); }};
};

} // namespace ombrelis::ui
