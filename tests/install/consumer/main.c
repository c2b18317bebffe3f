/* Calls the installed engine with a wrong interface version: it must refuse with 99 and
 * touch no file. Exit 0 when it did. */
#include <zarno/zarno.h>

int main(void) {
    return ZarnoRun(ZARNO_INTERFACE_VERSION + 1) == 99 ? 0 : 1;
}
