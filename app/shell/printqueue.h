// The system's print queues as the printing service sees them (CUPS on
// Linux): whether a queue takes a job now, and whether the job handed to it
// was created. Qt's own print engine does not say either. Elsewhere both
// answers are "cannot tell" (empty).
#pragma once

#include <QString>

namespace tarvo {

// Why the queue of that printer (a name as Qt lists it, "name/instance" for
// an instance) would not print a job now, in words for the user: paused, not
// accepting jobs, unknown to the printing service. Empty when it would or
// when this cannot be told.
QString printQueueRefusal(const QString& printer);

// Called right after a job was handed to the printing service in this
// thread: why the service did not create it (its own words). Empty when it
// did or when this cannot be told.
QString printJobFailure();

} // namespace tarvo
