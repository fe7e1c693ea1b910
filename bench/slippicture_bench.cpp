// The cost of saving a slip: one save (capture of the slip window, JPEG
// encoding, file written and renamed), the capture and the encoding alone,
// and, on the same pixels in the same run, the reference encoder `cjpeg`
// (-quality 90 -dct float -baseline) as a process, with the cost of merely
// starting it on a one-pixel picture beside it.

#include "windows/hourswindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"
#include "widgets/capture.h"
#include "payslip/jpegcodec.h"
#include "payslip/slippicture.h"

#include "benchfixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <sys/resource.h>

namespace {
SlipSheet *slip = nullptr;
QImage picture;

QByteArray ppm(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray out = QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1();
    for (int y = 0; y < rgb.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    return out;
}

// A whole month on the net slip, as the user leaves the windows.
bool showMonth()
{
    TParametres *p = win().Parametres;
    p->show(); // fills the first child with the rates file's defaults
    p->hide();
    p->prenom3->setText("Julie");
    p->nom3->setText("Martin");
    THoraire *h = win().Horaire;
    for (int d = 1; d <= 31; ++d) {
        if (d % 7 == 4 || d % 7 == 5)
            continue;
        h->StringGrid1->setItem(d, 1, new QTableWidgetItem(QStringLiteral("%1/05/2002").arg(d, 2, 10, QChar('0'))));
        h->StringGrid1->setItem(d, 6, new QTableWidgetItem("08:15:00"));
        h->StringGrid1->setItem(d, 9, new QTableWidgetItem("Déj"));
    }
    h->totheur->setText("181.5");
    h->moan->setText("0502");
    slip = win().Bulletin;
    slip->show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(slip, &activate);
    return !slip->net->text().isEmpty();
}

void BM_SaveSlip(benchmark::State &state)
{
    const QString path = slipPicturePath(programFolder(), "Julie", "0502");
    for (auto _ : state)
        saveSlipPicture(path, captureClientArea(slip));
}
BENCHMARK(BM_SaveSlip)->Unit(benchmark::kMillisecond)->Name("slip picture: one save (capture, encoding, file)");

void BM_CaptureSlip(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(captureClientArea(slip));
}
BENCHMARK(BM_CaptureSlip)->Unit(benchmark::kMillisecond)->Name("slip picture: capture alone");

void BM_EncodeSlip(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeJpeg(picture));
    state.counters["bytes"] = double(encodeJpeg(picture).size());
}
BENCHMARK(BM_EncodeSlip)->Unit(benchmark::kMillisecond)->Name("slip picture: encoding alone");

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// cjpeg reading the PPM from its input and writing the JPEG to a file. Its
// own processor time, which this process's clock does not see, is the
// counter "cjpeg_cpu_ms" (per run).
void runCjpeg(benchmark::State &state, const QByteArray &input)
{
    const QString cjpeg = QStandardPaths::findExecutable("cjpeg");
    if (cjpeg.isEmpty()) {
        state.SkipWithError("cjpeg is not installed (libjpeg-turbo-progs)");
        return;
    }
    const QStringList args = {
        "-quality", "90", "-dct", "float", "-baseline", "-outfile", programFolder() + "cjpeg.jpg"};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess p;
        p.start(cjpeg, args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished() || p.exitCode() != 0) {
            state.SkipWithError("cjpeg failed");
            return;
        }
    }
    state.counters["cjpeg_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}

void BM_CjpegSlip(benchmark::State &state) { runCjpeg(state, ppm(picture)); }
BENCHMARK(BM_CjpegSlip)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Name("slip picture: cjpeg on the same pixels, as a process (baseline)");

void BM_CjpegStartOnly(benchmark::State &state) { runCjpeg(state, ppm(picture.copy(0, 0, 1, 1))); }
BENCHMARK(BM_CjpegStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Name("slip picture: starting cjpeg alone");
} // namespace

int main(int argc, char **argv)
{
    BenchRun<QApplication> bench(argc, argv);
    QDir(programFolder()).mkdir(folder::pictures);
    QFile::copy(QStringLiteral(BERLIVO_SOURCE_DIR "/data/") + folder::ratesFile, programFolder() + folder::ratesFile);
    createWindows();
    if (!showMonth()) {
        fprintf(stderr, "the slip did not complete\n");
        return 1;
    }
    picture = captureClientArea(slip);
    const int code = bench.run();
    destroyWindows();
    return code;
}
