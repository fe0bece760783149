#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace testing_support {

// A FIFO planted where a program expects a file, for tests of readers and
// writers that must neither wait on it nor take it for a file. A helper
// thread holds the FIFO's other end ready, so that a program (this process
// or a child) that opens it after all is let go at once instead of waiting
// for ever: a reader sees an empty file, a writer's bytes are drained. The
// test then learns whether it was opened.
class PlantedFifo {
  public:
    enum class Side { ForReaders, ForWriters };

    PlantedFifo(std::string path, Side side = Side::ForReaders);
    ~PlantedFifo();
    PlantedFifo(const PlantedFifo&) = delete;
    PlantedFifo& operator=(const PlantedFifo&) = delete;

    bool Made() const { return made_; }
    // Ends the helper; true when a reader opened the FIFO meanwhile (for
    // readers) or a writer sent bytes into it (for writers).
    bool WasOpened();

  private:
    void Serve();

    std::string path_;
    Side side_;
    int node_ = -1;  // an O_PATH handle of the FIFO
    std::string nodePath_;
    bool made_ = false;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> opened_{false};
    std::atomic<bool> finished_{false};
    std::thread helper_;
};

// Makes a character device node at path with the numbers of a Linux memory
// device (1,3 null; 1,5 zero; 1,7 full); false when this user may not.
bool MakeCharacterDevice(const std::string& path, unsigned minor);

}  // namespace testing_support
