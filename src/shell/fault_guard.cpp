#include "shell/fault_guard.h"

// Execution comes back from the capture a second time after a fault, as from
// setjmp; the compiler must keep nothing across it that the fault would leave
// stale.
extern "C" NTSYSAPI VOID NTAPI RtlCaptureContext(PCONTEXT ContextRecord) __attribute__((returns_twice));

namespace {

// The processor state just after the capture in RunGuarded; a fault resumes
// there. The platform wants a CONTEXT 16-byte aligned.
alignas(16) CONTEXT ResumePoint;
volatile bool Faulted;
volatile DWORD GuardedThread;

bool EndsGuardedWork(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    // Not a processor fault, but the same for the guarded work: the call
    // cannot return, and the work ends with a failure.
    case kUnimplementedFunctionException:
        return true;
    default:
        // C++ exceptions, breakpoints and single steps belong to their own
        // handlers and to debuggers. After a stack overflow the stack has no
        // guard page left, so going on would turn the next one into a crash
        // without warning.
        return false;
    }
}

LONG CALLBACK ResumeAfterFault(EXCEPTION_POINTERS* exception)
{
    if (GetCurrentThreadId() != GuardedThread || !EndsGuardedWork(exception->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    Faulted = true;
    *exception->ContextRecord = ResumePoint;
    return EXCEPTION_CONTINUE_EXECUTION;
}

#if defined(__i386__)
// On x86 the capture describes the caller of the function that calls it (it
// follows the frame-pointer chain), so it is made one call down, from a
// function with a frame pointer: the resume point is the return from here.
// On x64 it describes its caller, and RunGuarded calls it directly.
__attribute__((noinline, returns_twice, optimize("no-omit-frame-pointer"))) void CaptureResumePoint()
{
    RtlCaptureContext(&ResumePoint);
}
#endif

}  // namespace

// Not inlined: the captured state must belong to a frame that outlives the
// work and that no caller's code shares.
__attribute__((noinline)) bool RunGuarded(GuardedWork work, void* argument, DWORD& result)
{
    // Added last, so handlers that others installed still see the fault first.
    PVOID handler = AddVectoredExceptionHandler(0, ResumeAfterFault);
    if (!handler)
        return false;
    Faulted = false;
    GuardedThread = GetCurrentThreadId();
#if defined(__i386__)
    CaptureResumePoint();
#else
    RtlCaptureContext(&ResumePoint);
#endif
    if (!Faulted)
        result = work(argument);
    GuardedThread = 0;
    RemoveVectoredExceptionHandler(handler);
    return !Faulted;
}
