/* Builds only when the library's header is valid C. */
#include "kivotools.h"

typedef int32_t(KIVOTOOLS_CALL *WriteMidiFunction)(const char *, int32_t, int32_t);

WriteMidiFunction kivotoolsHeaderIsC(void);

WriteMidiFunction kivotoolsHeaderIsC(void)
{
    return writeMidi;
}
