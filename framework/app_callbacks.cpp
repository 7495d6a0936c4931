// The process-wide callback registry and context request.
#include "framework/app_callbacks.h"

AppCallbacks appCallbacks;
ContextRequest contextRequest;
