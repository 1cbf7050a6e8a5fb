// CT_ErrorManager: per-thread errors kept in pools of records under one lock.
#include "CT_ErrorManager.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CT_LoadString.h"
#include "CT_StringConvert.h"
#include "CT_UTF.h"
#include "CleanLineBreaks.h"
#include "FormatWide.h"

namespace {

constexpr uint32_t kErrorRecords = 20;
constexpr uint32_t kLocationRecords = 100;
constexpr uint32_t kMessage = 1024;
constexpr uint32_t kFormatArea = 2048;
constexpr uint32_t kIdAbort = 3;
constexpr uint32_t kSetForeground = 0x10000;

std::atomic<CT_ErrorManager*> spo_Manager{nullptr};
std::atomic<CT_Module*> spo_Instance{nullptr};
std::atomic<CT_MessageBoxFunction> spf_MessageBox{nullptr};

uint32_t ThreadId() { return uint32_t(gettid()); }

uint32_t Format(char16_t* target, uint32_t size, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  uint32_t n = formatwide::Format(target, size, format, args);
  va_end(args);
  return n;
}

// Copies \p text into \p target of \p size units, cut and terminated.
void CopyCut(char16_t* target, uint32_t size, std::u16string_view text) {
  size_t n = std::min<size_t>(text.size(), size - 1);
  text.copy(target, n);
  target[n] = 0;
}

std::u16string Widen(const char* text) {
  std::u16string wide(std::strlen(text) + 2, u'\0');
  int32_t n = CT_StringConvert::si_MultiToWideANSI(wide.data(), text, uint32_t(wide.size() - 2));
  wide.resize(size_t(n > 0 ? n : 0));
  return wide;
}

// The file name of a source path, as the error box shows it.
std::u16string FileName(const char* path) {
  if (!path || !*path) return u"(unknown file)";
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  return Widen(name);
}

}  // namespace

CT_ErrorManager::CT_ErrorManager()
    : m_mapItems(sizeof(st_mapItem*)),
      m_errorPool(new st_error[kErrorRecords]()),
      m_freeErrors(nullptr),
      m_currentErrors(nullptr),
      m_heldErrors(nullptr),
      m_locationPool(new st_location[kLocationRecords]()),
      m_freeLocations(nullptr),
      m_interruptOnError(false),
      m_debugMessageOnError(true) {
  for (uint32_t i = kErrorRecords; i-- > 0;) {
    m_errorPool[i].next = m_freeErrors;
    m_freeErrors = &m_errorPool[i];
  }
  for (uint32_t i = kLocationRecords; i-- > 0;) {
    m_locationPool[i].next = m_freeLocations;
    m_freeLocations = &m_locationPool[i];
  }
}

CT_ErrorManager::~CT_ErrorManager() {
  for (uint32_t i = 1; i <= m_mapItems.n_GetCount(); ++i) {
    st_mapItem* item = nullptr;
    m_mapItems.v_GetAt(&item, i);
    delete item;
  }
  // Records beyond the pool came from the heap when it ran dry.
  for (st_error* list : {m_freeErrors, m_currentErrors, m_heldErrors}) {
    while (list) {
      st_error* next = list->next;
      if (list < m_errorPool || list >= m_errorPool + kErrorRecords) delete list;
      list = next;
    }
  }
  delete[] m_errorPool;
  delete[] m_locationPool;
}

void CT_ErrorManager::sv_Init() {
  CT_ErrorManager* expected = nullptr;
  auto* manager = new CT_ErrorManager();
  if (!spo_Manager.compare_exchange_strong(expected, manager)) delete manager;
}

void CT_ErrorManager::sv_Exit() { delete spo_Manager.exchange(nullptr); }

CT_ErrorManager* CT_ErrorManager::spco_Get() { return spo_Manager.load(); }

void CT_ErrorManager::sv_SetInstance(CT_Module* module) { spo_Instance = module; }

CT_Module* CT_ErrorManager::spo_GetInstance() { return spo_Instance.load(); }

void CT_ErrorManager::sv_SetMessageBox(CT_MessageBoxFunction function) { spf_MessageBox = function; }

void CT_ErrorManager::sv_OutputDebugMessage(const char*) {}

void CT_ErrorManager::sv_OutputDebugMessage(const char16_t*) {}

st_error* CT_ErrorManager::pso_Find(st_error* list) const {
  uint32_t thread = ThreadId();
  for (; list; list = list->next)
    if (list->thread == thread) return list;
  return nullptr;
}

st_error* CT_ErrorManager::pso_Current() const { return pso_Find(m_currentErrors); }

st_error* CT_ErrorManager::pso_Shown() {
  std::lock_guard<std::mutex> lock(m_lock);
  st_error* error = pso_Current();
  return error ? error : pso_Find(m_heldErrors);
}

// Unlinks \p error from \p list and gives it and its locations back to the
// pools. The lock is held.
void CT_ErrorManager::v_Free(st_error** list, st_error* error) {
  for (st_error** link = list; *link; link = &(*link)->next) {
    if (*link != error) continue;
    *link = error->next;
    if (error->lastLocation) {
      error->lastLocation->next = m_freeLocations;
      m_freeLocations = error->firstLocation;
    }
    error->next = m_freeErrors;
    m_freeErrors = error;
    return;
  }
}

st_error* CT_ErrorManager::pso_CreateNewError(uint32_t code, CT_Module* module, uint32_t formatId) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (pso_Current()) return nullptr;  // the thread's first error stands
  while (st_error* held = pso_Find(m_heldErrors)) v_Free(&m_heldErrors, held);
  st_error* error = m_freeErrors;
  if (error)
    m_freeErrors = error->next;
  else
    error = new st_error();  // more errors at once than the pool holds: keep them all
  *error = st_error{};
  error->thread = ThreadId();
  error->instance = module ? module : spo_Instance.load();
  error->errorCode = code;
  error->formatId = formatId;
  error->next = m_currentErrors;
  m_currentErrors = error;
  return error;
}

void CT_ErrorManager::v_SetErrorV(uint32_t code, CT_Module* module, uint32_t formatId, const char16_t* format,
                                  va_list args) {
  st_error* error = pso_CreateNewError(code, module, formatId);
  if (!error) return;
  // The record is this thread's alone now: the message is made without the lock.
  CT_ErrorMapFunction function = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    for (uint32_t i = m_mapItems.n_GetCount(); i >= 1 && !function; --i) {
      st_mapItem* item = nullptr;
      m_mapItems.v_GetAt(&item, i);
      if (item->key == error->thread) function = item->function;
    }
  }
  char16_t text[kFormatArea] = {};
  bool mapped = false;
  if (function) {
    va_list copy;
    va_copy(copy, args);
    mapped = function(text, kFormatArea, code, format ? code : formatId, copy) != 0;
    va_end(copy);
    text[kFormatArea - 1] = 0;
  }
  if (!mapped) {
    char16_t loaded[kFormatArea];
    if (!format) {
      CT_LoadString::sv_LoadString(loaded, kFormatArea, error->instance, formatId);
      format = loaded;
    }
    formatwide::Format(text, kMessage, format, args);
  }
  Format(error->message, kMessage, u"(%d): %s", int32_t(code), text);
}

void CT_ErrorManager::v_SetError(uint32_t code, CT_Module* module, uint32_t formatId, ...) {
  va_list args;
  va_start(args, formatId);
  v_SetErrorV(code, module, formatId, nullptr, args);
  va_end(args);
}

void CT_ErrorManager::v_SetError(uint32_t code, std::nullptr_t, uint32_t formatId, ...) {
  va_list args;
  va_start(args, formatId);
  v_SetErrorV(code, nullptr, formatId, nullptr, args);
  va_end(args);
}

void CT_ErrorManager::v_SetError(uint32_t code, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  v_SetErrorV(code, nullptr, 0, format, args);
  va_end(args);
}

void CT_ErrorManager::v_SetMessageError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  v_SetMessageError(format, args);
  va_end(args);
}

void CT_ErrorManager::v_SetMessageError(const char* format, va_list args) {
  st_error* error = pso_CreateNewError(0, nullptr, 0);
  if (!error) return;
  char text[kMessage];
  if (std::vsnprintf(text, sizeof text, format, args) < 0) text[0] = 0;
  CopyCut(error->message, kMessage, Widen(text));
}

void CT_ErrorManager::v_SetMessageError(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  v_SetMessageError(format, args);
  va_end(args);
}

void CT_ErrorManager::v_SetMessageError(const char16_t* format, va_list args) {
  st_error* error = pso_CreateNewError(0, nullptr, 0);
  if (error) formatwide::Format(error->message, kMessage, format, args);
}

void CT_ErrorManager::v_SetSystemErrorV(const char16_t* format, va_list* args) {
  int code = errno;
  st_error* error = pso_CreateNewError(uint32_t(code), nullptr, 0);
  errno = 0;
  if (!error) return;
  char system[512];
  std::u16string text = Widen(strerror_r(code, system, sizeof system));
  CleanLineBreaks(text);
  uint32_t n = Format(error->message, kMessage, u"(%d): %s", code, text.c_str());
  if (!format || !args) return;
  if (n && error->message[n - 1] == u' ') error->message[--n] = 0;
  char16_t extra[kMessage];
  formatwide::Format(extra, kMessage, format, *args);
  Format(error->message + n, kMessage - n, u" [%s]", extra);
}

void CT_ErrorManager::v_SetSystemError() { v_SetSystemErrorV(nullptr, nullptr); }

void CT_ErrorManager::v_SetSystemError(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  v_SetSystemErrorV(format, &args);
  va_end(args);
}

void CT_ErrorManager::v_AddLocation(const char* file, uint32_t line) {
  std::lock_guard<std::mutex> lock(m_lock);
  st_error* error = pso_Current();
  st_location* location = m_freeLocations;
  if (!error || !location) return;
  m_freeLocations = location->next;
  *location = st_location{file, line, nullptr};
  if (error->lastLocation)
    error->lastLocation->next = location;
  else
    error->firstLocation = location;
  error->lastLocation = location;
  ++error->locationCount;
}

bool CT_ErrorManager::b_IsSetError() {
  std::lock_guard<std::mutex> lock(m_lock);
  st_error* error = pso_Current();
  return error && !error->ignore;
}

void CT_ErrorManager::v_SetIgnoreError(bool ignore) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (st_error* error = pso_Current()) error->ignore = ignore;
}

void CT_ErrorManager::v_HoldError() {
  std::lock_guard<std::mutex> lock(m_lock);
  st_error* error = pso_Current();
  if (!error) return;
  // One held error per thread: an older one is freed.
  while (st_error* held = pso_Find(m_heldErrors)) v_Free(&m_heldErrors, held);
  for (st_error** link = &m_currentErrors; *link; link = &(*link)->next) {
    if (*link == error) {
      *link = error->next;
      break;
    }
  }
  error->next = m_heldErrors;
  m_heldErrors = error;
}

bool CT_ErrorManager::b_IsHoldError() {
  std::lock_guard<std::mutex> lock(m_lock);
  return pso_Find(m_heldErrors) != nullptr;
}

void CT_ErrorManager::v_ClearError() {
  std::lock_guard<std::mutex> lock(m_lock);
  if (st_error* error = pso_Current())
    v_Free(&m_currentErrors, error);
  else if (st_error* held = pso_Find(m_heldErrors))
    v_Free(&m_heldErrors, held);
}

uint32_t CT_ErrorManager::n_GetErrorCode() {
  st_error* error = pso_Shown();
  return error ? error->errorCode : 0;
}

uint32_t CT_ErrorManager::n_GetFormatID() {
  st_error* error = pso_Shown();
  return error ? error->formatId : 0;
}

const char16_t* CT_ErrorManager::qcuz_GetErrorMessage() {
  st_error* error = pso_Shown();
  return error ? error->message : u"";
}

uint32_t CT_ErrorManager::n_GetLocationCount() {
  st_error* error = pso_Shown();
  return error ? error->locationCount : 0;
}

const st_location* CT_ErrorManager::pcso_LocationAt(uint32_t index) {
  st_error* error = pso_Shown();
  if (!error || index == 0 || index > error->locationCount) return nullptr;
  const st_location* location = error->firstLocation;
  while (--index) location = location->next;
  return location;
}

const char* CT_ErrorManager::qccz_GetLocationFileAt(uint32_t index) {
  const st_location* location = pcso_LocationAt(index);
  return location ? location->file : nullptr;
}

uint32_t CT_ErrorManager::n_GetLocationLineAt(uint32_t index) {
  const st_location* location = pcso_LocationAt(index);
  return location ? location->line : 0;
}

void CT_ErrorManager::v_SetMapFunction(CT_ErrorMapFunction function, uint32_t key) {
  auto* item = new st_mapItem{key, function};
  std::lock_guard<std::mutex> lock(m_lock);
  m_mapItems.v_Insert(&item);
}

void CT_ErrorManager::v_RemoveMapFunction(uint32_t key) {
  std::lock_guard<std::mutex> lock(m_lock);
  for (uint32_t i = m_mapItems.n_GetCount(); i >= 1; --i) {
    st_mapItem* item = nullptr;
    m_mapItems.v_GetAt(&item, i);
    if (item->key != key) continue;
    m_mapItems.v_RemoveAt(i);
    delete item;
    return;
  }
}

int32_t CT_ErrorManager::i_ErrorLocationWindow(uint32_t captionId, const char16_t* captionText, uint32_t boxType) {
  st_error* error = pso_Shown();
  if (!error) return 0;
  // Caption and text share one area of 1024 units, as the box always had.
  char16_t caption[kFormatArea];
  if (captionText)
    CopyCut(caption, kMessage, captionText);
  else
    CT_LoadString::sv_LoadString(caption, kMessage, error->instance, captionId);
  size_t room = kMessage - (std::char_traits<char16_t>::length(caption) + 1);
  std::u16string text(error->message);
  text = text.substr(0, room ? room - 1 : 0);
  std::u16string lines = u"\n\n";
  for (const st_location* l = error->firstLocation; l; l = l->next) {
    std::u16string line = FileName(l->file) + u": line ";
    for (char c : std::to_string(l->line)) line += char16_t(c);
    line += u'\n';
    if (text.size() + lines.size() + line.size() + 1 > room) break;
    lines += line;
  }
  if (text.size() + lines.size() + 1 <= room) text += lines;
  while (!text.empty() && text.back() == u'\n') text.pop_back();

  int32_t button = 1;
  if (CT_MessageBoxFunction box = spf_MessageBox.load()) {
    button = box(text.c_str(), caption, boxType | kSetForeground);
  } else {
    std::string out(text.size() * 3 + std::char_traits<char16_t>::length(caption) * 3 + 4, '\0');
    int32_t n = CT_UTF::si_WideToUTF8(out.data(), caption, 0xFFFFFFFFu);
    out[size_t(n)] = '\n';
    n += 1 + CT_UTF::si_WideToUTF8(out.data() + n + 1, text.c_str(), 0xFFFFFFFFu);
    std::fprintf(stderr, "%.*s\n", n, out.c_str());
  }
  if (button == int32_t(kIdAbort)) std::exit(EXIT_FAILURE);
  return button;
}
