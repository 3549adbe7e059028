# Two entry points for a newcomer: `make demo` and `make test`.
BUILD ?= build
RELEASE ?= build-release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE ?= four_words

.PHONY: all demo test package clean

all:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DSYLLEX_TESTS=OFF
	cmake --build $(RELEASE) -j $(JOBS)

# Runs the program on the bundled example in a scratch folder, since it reads
# and writes fixed file names in its current folder.
demo: all
	rm -rf demo && mkdir -p demo
	cp examples/$(EXAMPLE)/param03.tmp examples/$(EXAMPLE)/corpus.tmp demo/
	cd demo && ../$(RELEASE)/syllex
	@echo
	@echo "Outputs are in demo/: result03.tmp (the lexicon), graph03.tmp (target-word curves)."
	@echo "The lexicon's size and its first chunks, shortest codelength first:"
	@head -9 demo/result03.tmp 2>/dev/null || true

test:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A Debian package of everything installed, in $(RELEASE)/.
package: all
	cd $(RELEASE) && cpack

clean:
	rm -rf $(BUILD) $(RELEASE) demo
