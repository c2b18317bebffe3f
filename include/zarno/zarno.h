/* Zarno: analysis of single piles and drilled shafts under lateral load (p-y method).
 *
 * One call performs one complete analysis. The engine reads NAMES.DAT in the current
 * directory (four lines: input file, output report file, plot output file, runtime
 * message file), runs the analysis and writes the three output files.
 *
 * Returns 0 for a normal end, a negative warning code (-300 when several different
 * warnings were recorded), 99 when interface_version is not ZARNO_INTERFACE_VERSION, or
 * 101..199 (input error n = result - 100) / 201..299 (runtime error n = result - 200).
 */
#ifndef ZARNO_ZARNO_H
#define ZARNO_ZARNO_H

#include <stdint.h>

#define ZARNO_INTERFACE_VERSION 6036

#ifdef __cplusplus
extern "C" {
#endif

int32_t ZarnoRun(int32_t interface_version);

#ifdef __cplusplus
}
#endif

#endif
