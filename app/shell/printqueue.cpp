#include "printqueue.h"

#if defined(TARVO_HAVE_CUPS)
#include <cups/cups.h>

#include <QByteArray>
#endif

namespace tarvo {

#if defined(TARVO_HAVE_CUPS)

namespace {

// The printing service's own words for its last answer.
QString lastError() {
    return QString::fromUtf8(cupsLastErrorString());
}

bool failed(ipp_status_t status) {
    return status > IPP_STATUS_OK_EVENTS_COMPLETE;
}

} // namespace

QString printQueueRefusal(const QString& printer) {
    const qsizetype slash = printer.indexOf(QLatin1Char('/'));
    const QByteArray name = printer.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : printer.mid(slash + 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            return QStringLiteral("the printing service does not know this printer any more.");
        return failed(cupsLastError())
                   ? QStringLiteral("the printing service could not be asked about this printer "
                                    "(%1).")
                         .arg(lastError())
                   : QStringLiteral("the printing service does not know this printer.");
    }
    const auto option = [dest](const char* key) {
        const char* value = cupsGetOption(key, dest->num_options, dest->options);
        return value ? QString::fromUtf8(value) : QString();
    };
    const QString accepting = option("printer-is-accepting-jobs");
    const QString state = option("printer-state");
    // Why, where the service says more than that it is paused.
    const QString reasons = option("printer-state-reasons");
    cupsFreeDests(1, dest);
    const QString because =
        reasons.isEmpty() || reasons == QLatin1String("none") || reasons == QLatin1String("paused")
            ? QString()
            : QStringLiteral(" (%1)").arg(reasons);
    if (accepting.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("the printer is not accepting jobs%1. Let it accept jobs again in "
                              "the system's printer settings, or choose another printer.")
            .arg(because);
    if (state.toInt() == IPP_PSTATE_STOPPED)
        return QStringLiteral("the printer is paused%1, so the page would wait in its queue. "
                              "Resume the printer in the system's printer settings, or choose "
                              "another printer.")
            .arg(because);
    return {};
}

QString printJobFailure() {
    if (!failed(cupsLastError()))
        return {};
    return QStringLiteral("the printing service did not take the job (%1).").arg(lastError());
}

#else

QString printQueueRefusal(const QString&) {
    return {};
}

QString printJobFailure() {
    return {};
}

#endif

} // namespace tarvo
