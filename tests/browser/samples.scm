; SPDX-License-Identifier: MIT
; Script-Fu for GIMP in batch mode (tests/browser/run.sh): (samples NAME N)
; writes to `port` a line of the gradient's name and its red, green, blue and
; alpha (0 to 1) at the centres of N pixels, (i + 0.5) / N.
(define (samples name n)
  (let ((at (make-vector n 0.0)))
    (do ((i 0 (+ i 1))) ((= i n))
      (vector-set! at i (/ (+ i 0.5) n)))
    (let ((c (cadr (gimp-gradient-get-custom-samples name n at FALSE))))
      (display name port)
      (do ((i 0 (+ i 1))) ((= i (* 4 n)))
        (display " " port)
        (display (vector-ref c i) port))
      (newline port))))
