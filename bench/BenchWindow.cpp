#include "BenchWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <ombrelis/ui/PickList.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace ombrelis::bench {

bool ConsoleMessages::askYesNo(const std::string&, const std::string&) {
    return true;
}
void ConsoleMessages::inform(const std::string& title, const std::string& text) {
    std::cerr << title << ": " << text << '\n';
}
void ConsoleMessages::reportError(const std::string& title, const std::string& text) {
    std::cerr << title << ": " << text << '\n';
}

BenchWindow::BenchWindow(platform::RealtimeBroker broker)
    : threadPriority_(platform::systemThreadPriority(std::move(broker))) {
    char folder[] = "/tmp/ombrelis-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    folder_ = folder;
    form_ = std::make_unique<ui::Form1>(ui::Form1Services{clock_, pump_, calendar_, random_, files_,
                                                          port_, delay_, messages_, saveDialog_,
                                                          *threadPriority_});
    form_->Form_Load();
    form_->show();
}

BenchWindow::~BenchWindow() {
    form_.reset();
    std::remove((folder_ + "/log.dat").c_str());
    ::rmdir(folder_.c_str());
}

void BenchWindow::prepare(const std::string& period) {
    const ui::Form1Controls& c = form_->controls();
    c.ctlNomdefichier->setText(QString::fromStdString(logPath()));
    c.Simu->setChecked(true);
    c.ctlVitesse->setEditText(QString::fromStdString(period));
}

std::string BenchWindow::runFor(const std::string& period, int stopAfterMs) {
    prepare(period);
    QTimer::singleShot(stopAfterMs, Qt::PreciseTimer, form_.get(),
                       [this] { form_->btnSTOP_Click(); });
    form_->btnGO_Click();
    return logPath();
}

std::string BenchWindow::run(const std::string& period, const std::function<bool()>& shouldStop,
                             int pollMs) {
    const std::string path = logPath();
    prepare(period);

    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    watch.setInterval(pollMs);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (shouldStop()) {
            watch.stop();
            form_->btnSTOP_Click();
        }
    });
    watch.start();
    form_->btnGO_Click();
    return path;
}

std::int64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<std::int64_t>(resident) * ::sysconf(_SC_PAGESIZE);
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double wallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void print(const std::string& name, double value) {
    std::printf("%s: %.6g\n", name.c_str(), value);
    std::fflush(stdout);
}

} // namespace ombrelis::bench
