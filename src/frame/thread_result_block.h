// The conversion result buffers of the threads other than the one that
// loaded the library: made on a thread's first conversion, released when the
// thread ends or, for threads still running, when the library stops.
#ifndef INKLINE_SRC_FRAME_THREAD_RESULT_BLOCK_H
#define INKLINE_SRC_FRAME_THREAD_RESULT_BLOCK_H

struct ResultBlock {
  char* Block = nullptr;
  int Capacity = 0;
};

// The calling thread's block, 1024 zero bytes when first made. Null when it
// cannot be made.
ResultBlock* ThisThreadResultBlock();

// Frees the calling thread's block, if it has one. The Windows library calls
// this on thread detach, so that nothing of the library runs after it
// unloads; elsewhere the thread's end does it.
void ReleaseThisThreadResultBlock();

// Frees every thread's block; the library is stopping.
void ReleaseAllResultBlocks();

// The same, and gives back the system's thread-local slot: the Windows
// library is unloading.
void EndResultBlocks();

// How many threads hold a block now.
int LiveResultBlocks();

#endif  // INKLINE_SRC_FRAME_THREAD_RESULT_BLOCK_H
