message(FATAL_ERROR "The end-to-end tests need python3 (3.9 or later): run scripts/install-deps.sh (make test does).")
