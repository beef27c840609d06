// The platform-neutral part of ProgressJob.
#include "base/progress.h"

#include <cstring>

void setProgressTitle(ProgressJob& job, const char* title) {
    std::strncpy(job.title, title ? title : "", kProgressTitleSize - 1);
    job.title[kProgressTitleSize - 1] = '\0';
}
