/* libcheck.so: helpers an installer loads by name to find earlier installations and to keep
 * its own settings in the registry store (oslayer/registry_store.h).
 *
 * Every export returns 1 on success and 0 otherwise; failures the installer should know about
 * are written to standard error as one line "Check.dll: <reason>". The first argument is the
 * installer's owner window, accepted for compatibility and not used. */
#ifndef CODECBENCH_INSTALLER_CHECK_H
#define CODECBENCH_INSTALLER_CHECK_H

#ifdef __cplusplus
#define CHECK_API extern "C" __attribute__((visibility("default")))
#else
#define CHECK_API __attribute__((visibility("default")))
#endif

/* Finds the next uninstall entry of the machine root whose name contains keyPart and whose
 * installation folder holds fileName. Set *enumIndex to 0 before the first call and pass the
 * same variable again for the next match. outDir receives the folder (388 bytes). 1: found;
 * 0: no more entries, or an error (reported). */
CHECK_API int SearchWiseInstalledApplication(void* owner, int* enumIndex, const char* keyPart,
                                             const char* fileName, char* outDir);

/* Finds the installed development environment with the greatest version among the uninstall
 * entries matching keyPart. outDir (388 bytes) receives its folder, outVersion (17 bytes) its
 * version as "NN.NN.NNN". 1: found; 0: none (outVersion "00.00.000", outDir empty). */
CHECK_API int SearchLastVorpPath(void* owner, const char* keyPart, char* outDir, char* outVersion);

/* Creates the key subKey under the user root with every missing level. 1: it exists now. */
CHECK_API int CreateRegistry(void* owner, const char* subKey);

/* Sets the string value valueName of the existing key subKey (or subKey\key when key is not
 * NULL) under the user root. Keys are not created here. 1: written. */
CHECK_API int AddKeyValueToRegistry(void* owner, const char* subKey, const char* key,
                                    const char* valueName, const char* value);

#endif
