"""One module per end-to-end journey, named as the journey with _ for -; each has journey(args)."""
