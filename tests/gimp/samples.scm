; SPDX-License-Identifier: MIT
; Script-Fu for GIMP in batch mode (tests/gimp/gimp.sh). (samples NAME N AT)
; writes to `port` a line of the gradient NAME's name, then its red, green,
; blue and alpha (0 to 1) at the positions (i + AT) / N: 0 where the
; renderer draws pixel i of a .ggr, 0.5 at the pixel centres of an SVG. The
; whole vector is written at once: Script-Fu's own loops are slow.
(define (samples name n off)
  (let ((at (make-vector n 0.0)))
    (do ((i 0 (+ i 1))) ((= i n))
      (vector-set! at i (/ (+ i off) n)))
    (display name port)
    (display " " port)
    (display (cadr (gimp-gradient-get-custom-samples name n at FALSE)) port)
    (newline port)))
