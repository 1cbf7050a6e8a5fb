// CT_ErrorManager: the library's error channel. Each thread has at most one
// current error, with its message and the source locations through which
// it was passed up.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "CT_VoidArray.h"

/// A module's string table; null stands for the default module.
struct CT_Module;

/// One place an error was passed through.
struct st_location {
  const char* file;  ///< source path, kept by the caller
  uint32_t line;
  st_location* next;
};

/// One error record.
struct st_error {
  CT_Module* instance;  ///< module whose string table holds the message
  uint32_t thread;      ///< id of the thread that owns the error
  uint32_t errorCode;
  uint32_t formatId;  ///< string id of the message format; 0 when given as text
  char16_t message[1024];
  uint32_t locationCount;
  st_location* firstLocation;
  st_location* lastLocation;
  st_error* next;
  bool ignore;  ///< an ignored error does not count as set
};

/// Writes the message for an error into \p message (\p size units) and
/// returns non-zero, or returns 0 to leave the message to the format.
using CT_ErrorMapFunction = int32_t (*)(char16_t* message, uint32_t size, uint32_t errorCode, uint32_t formatId,
                                        va_list args);

/// A thread's message function.
struct st_mapItem {
  uint32_t key;  ///< the thread id for which it applies
  CT_ErrorMapFunction function;
};

/// Shows \p text in a box of Windows message-box \p type; returns the
/// button pressed (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
using CT_MessageBoxFunction = int32_t (*)(const char16_t* text, const char16_t* caption, uint32_t type);

/// The process-wide error manager; every member acts on the calling
/// thread's error. The first error of a thread stands until it is held or
/// cleared: further setters do nothing meanwhile. The getters answer for
/// the current error, else the held one (0 or the empty text for none).
///
/// The variadic setters have va_list overloads of the same name: a literal
/// 0 as the first variable argument would choose the va_list form, so
/// write it as 0L or cast it.
class CT_ErrorManager {
 public:
  /// Makes the manager (the library does it when it starts).
  static void sv_Init();
  /// Destroys it (the library does it when it ends).
  static void sv_Exit();
  /// The manager; null before sv_Init and after sv_Exit.
  static CT_ErrorManager* spco_Get();
  /// The module whose string table a null module stands for.
  static void sv_SetInstance(CT_Module* module);
  static CT_Module* spo_GetInstance();
  /// How i_ErrorLocationWindow shows its box; null: standard error.
  static void sv_SetMessageBox(CT_MessageBoxFunction function);
  static void sv_OutputDebugMessage(const char* text);
  static void sv_OutputDebugMessage(const char16_t* text);

  /// The message is "(code): text", the text from the thread's map
  /// function or string \p formatId of \p module formatted with the arguments.
  void v_SetError(uint32_t code, CT_Module* module, uint32_t formatId, ...);
  void v_SetError(uint32_t code, std::nullptr_t module, uint32_t formatId, ...);
  /// The same with the format given; the format id stored is 0.
  void v_SetError(uint32_t code, const char16_t* format, ...);
  /// An error with code 0 whose message is the formatted text.
  void v_SetMessageError(const char* format, ...);
  void v_SetMessageError(const char* format, va_list args);
  void v_SetMessageError(const char16_t* format, ...);
  void v_SetMessageError(const char16_t* format, va_list args);
  /// The code is errno and the message "(code): " and its text; errno
  /// becomes 0.
  void v_SetSystemError();
  /// The same, followed by " [" and the formatted text and "]".
  void v_SetSystemError(const char16_t* format, ...);
  /// Adds a place to the current error; nothing without one or when 100
  /// places are in use. \p file must outlive the error.
  void v_AddLocation(const char* file, uint32_t line);

  bool b_IsSetError();
  void v_SetIgnoreError(bool ignore);
  /// Moves the current error aside: it stays readable, and a new one may
  /// be set (which frees it).
  void v_HoldError();
  bool b_IsHoldError();
  /// Frees the current error, or, when there is none, the held one.
  void v_ClearError();

  uint32_t n_GetErrorCode();
  uint32_t n_GetFormatID();
  const char16_t* qcuz_GetErrorMessage();
  uint32_t n_GetLocationCount();
  /// Locations count from 1.
  const char* qccz_GetLocationFileAt(uint32_t index);
  uint32_t n_GetLocationLineAt(uint32_t index);

  void v_SetMapFunction(CT_ErrorMapFunction function, uint32_t key);
  /// Removes the item with \p key added last.
  void v_RemoveMapFunction(uint32_t key);

  /// Shows the error with its locations in a message box of \p boxType;
  /// the caption is \p captionText, else string \p captionId. Abort ends
  /// the process; otherwise returns the button pressed.
  int32_t i_ErrorLocationWindow(uint32_t captionId, const char16_t* captionText, uint32_t boxType);

  void v_SetInterruptOnError(bool on) { m_interruptOnError = on; }
  bool b_GetInterruptOnError() const { return m_interruptOnError; }
  void v_SetDebugMessageOnError(bool on) { m_debugMessageOnError = on; }
  bool b_GetDebugMessageOnError() const { return m_debugMessageOnError; }

  CT_ErrorManager(const CT_ErrorManager&) = delete;
  CT_ErrorManager& operator=(const CT_ErrorManager&) = delete;

 private:
  CT_ErrorManager();
  ~CT_ErrorManager();

  st_error* pso_CreateNewError(uint32_t code, CT_Module* module, uint32_t formatId);
  void v_SetErrorV(uint32_t code, CT_Module* module, uint32_t formatId, const char16_t* format, va_list args);
  void v_SetSystemErrorV(const char16_t* format, va_list* args);
  st_error* pso_Find(st_error* list) const;
  st_error* pso_Current() const;
  st_error* pso_Shown();
  void v_Free(st_error** list, st_error* error);
  const st_location* pcso_LocationAt(uint32_t index);

  CT_VoidArray m_mapItems;  ///< st_mapItem*, in the order added
  st_error* m_errorPool;
  st_error* m_freeErrors;
  st_error* m_currentErrors;
  st_error* m_heldErrors;
  st_location* m_locationPool;
  st_location* m_freeLocations;
  std::mutex m_lock;
  bool m_interruptOnError;
  bool m_debugMessageOnError;
};
