#ifndef TESSALINE_PL200SRVR_API_H
#define TESSALINE_PL200SRVR_API_H

/* The automation interface of the PL-series probe server (PL200Srvr), as
 * the program uses it: our own contract, in place of the server's COM
 * interfaces on Windows. The server is a shared library (libpl200srvr.so,
 * the stand-in for PL200Srvr.dll) that publishes a small object model by
 * name, the way an automation (IDispatch) server does:
 *
 *   server object (class id {006b0650-af9a-4ee1-b18f-b5740004d7ce})
 *     method AutoConnect(); property SinglePl -> instrument
 *   instrument "IPl"
 *     properties Number, PLType, OutputProbes -> probe list, Memory -> memory,
 *     AveragingMode, SyncMode, DisplayMode, DisplayDigits, RemoteMode;
 *     methods SetAnalogRange(real, real), CalZero(), Measure(integer)
 *   probe list: method Item(text) -> probe ("P1" is the first)
 *   probe: properties SerialNO, Lv, sx, sy, T, duv (-1: no value)
 *   memory: property ChannelNO
 *
 * A member that fails raises an exception: the call answers
 * PLSRV_E_EXCEPTION after the object's advised handler has received the
 * server's 32-bit code and texts, on the calling thread. The server may also
 * raise an exception on an advised object at any time from a thread of its
 * own (a probe unplugged, for instance).
 *
 * Every object a call hands out is a new reference that the receiver
 * releases. Calls on one object must not overlap; plsrvAdvise and
 * plsrvRelease may be called at any time and return only once no call of
 * the previous handler is running, so a handler is never called after them. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PLSRV_OK 0
#define PLSRV_E_FAILED (-1)
#define PLSRV_E_UNKNOWN_NAME (-2) /* no such property or method */
#define PLSRV_E_ARGUMENTS (-3)    /* wrong argument count or types */
#define PLSRV_E_EXCEPTION (-4)    /* raised; the handler has had the details */

#define PLSRV_TEXT_SIZE 256

typedef struct plsrvObject plsrvObject;

typedef enum plsrvType {
    PLSRV_EMPTY = 0,
    PLSRV_INTEGER = 1,
    PLSRV_REAL = 2,
    PLSRV_TEXT = 3,  /* NUL-terminated within text */
    PLSRV_OBJECT = 4 /* a new reference in object */
} plsrvType;

typedef struct plsrvValue {
    int32_t type;
    int32_t integer;
    double real;
    char text[PLSRV_TEXT_SIZE];
    plsrvObject *object;
} plsrvValue;

typedef void (*plsrvExceptionHandler)(void *context, uint32_t code, const char *source, const char *description,
                                      const char *help);

/* The object of the class |classId| (compared without regard to case);
 * null for a class the server does not serve. */
plsrvObject *plsrvCreateObject(const char *classId);
void plsrvRelease(plsrvObject *object);
/* A null handler stops the deliveries. */
int32_t plsrvAdvise(plsrvObject *object, plsrvExceptionHandler handler, void *context);
int32_t plsrvGetProperty(plsrvObject *object, const char *name, plsrvValue *value);
int32_t plsrvPutProperty(plsrvObject *object, const char *name, const plsrvValue *value);
/* |result| may be null when the caller wants none. */
int32_t plsrvInvoke(plsrvObject *object, const char *method, const plsrvValue *args, int32_t argCount,
                    plsrvValue *result);

#ifdef __cplusplus
}
#endif

#endif
