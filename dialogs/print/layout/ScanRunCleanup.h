// The end of a scan's run: its raw page files, its scanner objects and its watcher, gone.
#pragma once

class CThreadChecker;

void DeleteScanRun(CThreadChecker* watcher);
